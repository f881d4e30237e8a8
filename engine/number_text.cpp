#include "number_text.h"

#include <cmath>
#include <cstdio>
#include <iterator>

namespace engine {

double roundHalfEven2(double value)
{
    // nearbyint follows the default rounding mode, round-half-to-even.
    return std::nearbyint(value * 100) / 100;
}

std::string numberToText(double value, char decimalSeparator)
{
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
