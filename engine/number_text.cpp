#include "number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace engine {
namespace {

// From here on a number has no room for decimals within 15 significant digits and is
// written with an exponent, as the classic runtime's Str and CStr do.
constexpr double kExponentFrom = 1e15;

// "1.50000000000000E+20" -> "1.5E+20": the mantissa without trailing zeros, the
// exponent with its sign and at least two digits.
std::string exponentForm(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14E", value);
    std::string text(buffer);
    const std::size_t e = text.find('E');
    std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    return mantissa + text.substr(e);
}

} // namespace

double roundHalfEven2(double value)
{
    // Beyond 1e15 a double has no hundredths to round (and value * 100 could overflow).
    if (!(std::fabs(value) < kExponentFrom))
        return value;
    // nearbyint follows the default rounding mode, round-half-to-even.
    return std::nearbyint(value * 100) / 100;
}

std::string numberToText(double value, char decimalSeparator)
{
    if (!std::isfinite(value))
        return {}; // no number to show; callers refuse such results before they get here
    double rounded = roundHalfEven2(value);
    if (rounded == 0)
        rounded = 0; // drops the sign of -0
    std::string text = exponentForm(rounded);
    // 999999999999999.9 reaches 1E+15 only once rounded to 15 digits.
    if (std::atoi(text.c_str() + text.find('E') + 1) < 15) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15g", rounded);
        text = buffer;
    }
    for (char &c : text) {
        if (c == '.')
            c = decimalSeparator;
    }
    return text;
}

} // namespace engine
