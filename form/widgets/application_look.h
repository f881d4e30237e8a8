#pragma once

#include <QFont>

namespace widgets {

// The look the window is designed in: Qt's Fusion style and Liberation Sans 8.25 pt,
// the metric stand-in for the classic dialog font. The program, the help document's
// picture of the window and the tests all draw it the same way.
QFont windowFont();

// Sets the style and font for the whole application; call after QApplication exists.
void applyApplicationLook();

} // namespace widgets
