#include "number_text.h"

#include <cmath>
#include <cstdio>

namespace engine {

double roundHalfEven2(double value)
{
    // nearbyint follows the default rounding mode, round-half-to-even.
    return std::nearbyint(value * 100) / 100;
}

std::string numberToText(double value, char decimalSeparator)
{
    double rounded = roundHalfEven2(value);
    if (rounded == 0)
        rounded = 0; // drops the sign of -0
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", rounded);
    std::string text(buffer);
    for (char &c : text) {
        if (c == '.')
            c = decimalSeparator;
    }
    return text;
}

} // namespace engine
