#include "make_printer_text.h"

#include "printer.h"

#include <cstdint>
#include <stdexcept>

namespace report {

namespace {
constexpr double VerticalShift = 0.125;
constexpr float MarkupFontSize = 6.0f;
// Positions are counted in a signed 16-bit integer, which must be able to step past
// the last one.
constexpr int MaximumLength = INT16_MAX - 1;
} // namespace

QString MakePrinterText(platform::Printer &printer, const QString &text)
{
    if (text.size() > MaximumLength)
        throw std::overflow_error("marked-up text too long");

    const int length = static_cast<int>(text.size());
    QChar marker; // null while no markup has been opened; never cleared afterwards
    float savedY = 0;
    float savedFontSize = 0;

    for (int position = 0; position < length; ++position) {
        const QChar current = text.at(position);
        const QChar lookAhead = position + 1 < length ? text.at(position + 1) : QChar();

        if ((current == u'_' || current == u'^') && lookAhead == u'{') {
            marker = current;
        } else if (current == u'{') {
            if (marker == u'^' || marker == u'_') {
                savedY = printer.CurrentY();
                savedFontSize = printer.FontSize();
                const double shift = marker == u'^' ? -VerticalShift : VerticalShift;
                printer.setCurrentY(static_cast<float>(double(printer.CurrentY()) + shift));
                printer.setFontSize(MarkupFontSize);
            }
        } else if (current == u'}') {
            if (marker == u'^' || marker == u'_') {
                printer.setCurrentY(savedY);
                printer.setFontSize(savedFontSize);
            }
        } else {
            printer.Print(QString(current), false);
        }
    }
    return QString();
}

} // namespace report
