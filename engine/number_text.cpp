#include "number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

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
    // Below 10^13 the hundredths form a whole number of at most 15 digits, which "%.15g"
    // would write digit for digit: write it directly, which costs a tenth of the formatting.
    const double hundredths = std::nearbyint(value * 100);
    if (std::abs(hundredths) < 1e15) {
        long long whole = static_cast<long long>(std::abs(hundredths));
        char digits[24];
        int length = 0;
        int decimals = 2;
        while (decimals > 0 && whole % 10 == 0 && whole != 0) { // trailing zeros of the decimals
            whole /= 10;
            --decimals;
        }
        if (whole == 0)
            decimals = 0;
        do {
            digits[length++] = static_cast<char>('0' + whole % 10);
            whole /= 10;
            if (length == decimals)
                digits[length++] = decimalSeparator;
        } while (whole != 0 || length <= decimals);
        if (digits[length - 1] == decimalSeparator)
            digits[length++] = '0';
        if (hundredths < 0)
            digits[length++] = '-';
        return std::string(std::make_reverse_iterator(digits + length), std::make_reverse_iterator(digits));
    }
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
