#include "money.h"

namespace {
// Amounts up to a hundred thousand billion yuan; far beyond any shop, far from overflow.
constexpr qint64 MaxUnits = Q_INT64_C(1000000000000000000) / 10;
} // namespace

std::optional<Money> Money::parse(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;

    qsizetype i = 0;
    bool negative = false;
    if (text[0] == u'-' || text[0] == u'+') {
        negative = text[0] == u'-';
        ++i;
    }

    qint64 whole = 0;
    int wholeDigits = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        whole = whole * 10 + (text[i].unicode() - '0');
        if (whole > MaxUnits / UnitsPerYuan)
            return std::nullopt;
        ++wholeDigits;
    }

    qint64 fraction = 0;
    int fractionDigits = 0;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
            const int digit = text[i].unicode() - '0';
            if (fractionDigits < 4)
                fraction = fraction * 10 + digit;
            else if (digit != 0)
                return std::nullopt; // finer than 1/10000 yuan
            ++fractionDigits;
        }
    }
    if (i != text.size() || wholeDigits + fractionDigits == 0)
        return std::nullopt;

    for (int d = std::min(fractionDigits, 4); d < 4; ++d)
        fraction *= 10;
    const qint64 units = whole * UnitsPerYuan + fraction;
    return Money(negative ? -units : units);
}

QString Money::toString() const
{
    const bool negative = m_units < 0;
    const quint64 magnitude = negative ? quint64(-(m_units + 1)) + 1 : quint64(m_units);
    QString text = QString::number(magnitude / UnitsPerYuan);
    quint64 fraction = magnitude % UnitsPerYuan;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return negative ? u'-' + text : text;
}
