#pragma once

#include <QDate>
#include <QString>

// Dates are stored as yyyy-MM-dd text and shown the same way.
namespace Dates {

inline constexpr const char *Format = "yyyy-MM-dd";

inline QString toText(const QDate &date)
{
    return date.toString(QLatin1String(Format));
}

// Accepts the stored form; also a value with a time part, as a server engine may return.
inline QDate fromText(const QString &text)
{
    return QDate::fromString(text.left(10), QLatin1String(Format));
}

} // namespace Dates
