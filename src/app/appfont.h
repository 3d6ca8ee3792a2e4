#pragma once

#include <QString>
#include <QStringList>

namespace AppFont {
// The font the whole interface uses: the first installed of `preferred` (宋体 first, then
// fonts known to carry the Chinese glyphs), at 13 pixels.
QString chooseFamily(const QStringList &installed);
void apply();
} // namespace AppFont
