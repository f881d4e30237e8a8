#pragma once

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>

// A figure as written, e.g. "38138.07" or "3.7e-9", matches every value that rounds to
// it: the tolerance is half a unit of its last written digit.
inline bool matchesFigure(double value, const QString &figure)
{
    const int e = figure.indexOf(QLatin1Char('e'));
    const QString mantissa = e < 0 ? figure : figure.left(e);
    const int exponent = e < 0 ? 0 : figure.mid(e + 1).toInt();
    const int dot = mantissa.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : int(mantissa.size()) - dot - 1;
    const double tolerance = 0.5 * std::pow(10.0, exponent - decimals);
    return std::abs(value - figure.toDouble()) <= tolerance * (1 + 1e-9);
}

// QCOMPARE on doubles is fuzzy; identity of results means identity of the bits.
inline std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
