#pragma once

#include <QString>

namespace platform {
class Printer;
}

namespace report {

// Prints one line of report text character by character from the printer's position,
// turning "_{...}" into a subscript and "^{...}" into a superscript (size 6, shifted
// 0.125 scale units). It never ends the line: the caller prints the returned empty
// string with a line end. Printer errors pass through; a text longer than 32,766
// characters is an error as well.
QString MakePrinterText(platform::Printer &printer, const QString &text);

} // namespace report
