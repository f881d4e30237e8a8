#pragma once

#include <QColor>

namespace explore {

// The viridis colour scale: perceptually uniform and rising in lightness from dark
// violet to yellow, so that a map stays readable in grey on a black-and-white print.
QColor ViridisColour(double fraction);

} // namespace explore
