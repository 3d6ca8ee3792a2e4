#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <compare>
#include <optional>

// An exact amount of money: a whole count of 1/10000 yuan.
class Money
{
public:
    static constexpr qint64 UnitsPerYuan = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { return Money(units); }
    static constexpr Money fromYuan(qint64 yuan) { return Money(yuan * UnitsPerYuan); }

    // Parses text a user typed ("3500", "-12.5", " .3 "). Blanks around the text are
    // ignored; anything else that is not an amount (empty, "-", "1.2.3", "--5", more than
    // four decimals that are not zeros, out of range) gives no value.
    static std::optional<Money> parse(QStringView text);

    constexpr qint64 units() const { return m_units; }
    constexpr bool isZero() const { return m_units == 0; }

    // Shortest decimal text: 3500, 3500.5, 0.3, -0.0001.
    QString toString() const;
    double toDouble() const { return double(m_units) / UnitsPerYuan; }

    constexpr Money operator+(Money o) const { return Money(m_units + o.m_units); }
    constexpr Money operator-(Money o) const { return Money(m_units - o.m_units); }
    constexpr Money operator-() const { return Money(-m_units); }
    constexpr Money &operator+=(Money o)
    {
        m_units += o.m_units;
        return *this;
    }
    constexpr Money &operator-=(Money o)
    {
        m_units -= o.m_units;
        return *this;
    }
    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 units)
        : m_units(units)
    { }
    qint64 m_units = 0;
};
