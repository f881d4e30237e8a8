#pragma once

#include <QColor>

class QPalette;

namespace explore {

// The colours of the window's own signals (a wrong input, the verdict), chosen against
// the palette in use, so that they read in a light and in a dark scheme alike. Every
// colour goes with words; none carries a meaning alone.

// WCAG's contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor &a, const QColor &b);

// The text and frame colour of a wrong input: a dark red on a light window, a light red
// on a dark one.
QColor ErrorTextColour(const QPalette &palette);

enum class Verdict {
    Complies,
    CompliesOnlyAtPoints, // the five points comply, the level between them does not
    DoesNotComply,
    Incomplete, // the input is incomplete: no verdict
};

struct BadgeColours
{
    QColor background;
    QColor text;
};

// The verdict's badge: green, amber and red with a text colour that contrasts at least
// 4.5 : 1 in any palette; the incomplete input in the palette's own neutral colours.
BadgeColours VerdictColours(Verdict verdict, const QPalette &palette);

} // namespace explore
