#include "window_colours.h"

#include <QPalette>

#include <cmath>

namespace explore {
namespace {

double luminance(const QColor &colour)
{
    auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF())
        + 0.0722 * channel(colour.blueF());
}

// Whichever of two colours stands out more against a background.
QColor clearer(const QColor &first, const QColor &second, const QColor &background)
{
    return ContrastRatio(first, background) >= ContrastRatio(second, background) ? first : second;
}

} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ErrorTextColour(const QPalette &palette)
{
    return clearer(QColor(0xa0, 0x00, 0x00), QColor(0xff, 0x8a, 0x80), palette.color(QPalette::Window));
}

BadgeColours VerdictColours(Verdict verdict, const QPalette &palette)
{
    switch (verdict) {
    case Verdict::Complies:
        return {QColor(0x1b, 0x7a, 0x2e), Qt::white};
    case Verdict::CompliesOnlyAtPoints:
        return {QColor(0xf2, 0xb7, 0x05), Qt::black};
    case Verdict::DoesNotComply:
        return {QColor(0xb0, 0x00, 0x20), Qt::white};
    case Verdict::Incomplete:
        break;
    }
    return {palette.color(QPalette::AlternateBase), palette.color(QPalette::Text)};
}

} // namespace explore
