#include "appfont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace AppFont {

QString chooseFamily(const QStringList &installed)
{
    static const QStringList preferred {
            QStringLiteral("SimSun"),           QStringLiteral("宋体"),
            QStringLiteral("NSimSun"),          QStringLiteral("WenQuanYi Micro Hei"),
            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback"),
    };
    for (const QString &family : preferred) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return {};
}

void apply()
{
    QFont font = QApplication::font();
    const QString family = chooseFamily(QFontDatabase::families());
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPixelSize(13);
    QApplication::setFont(font);
}

} // namespace AppFont
