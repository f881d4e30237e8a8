// libFuzzer harness: MakePrinterText on any 16-bit text against a recording printer. Every
// character outside the markup is printed once, in order, one Print each, without a line
// end; the markup characters never are; the size is the caller's or the markup's 6 and
// the height moves only in steps of 0.125; a text beyond 32,766 characters is refused.

#include "fuzz_support.h"
#include "make_printer_text.h"
#include "recording_printer.h"

#include <cmath>
#include <stdexcept>

namespace {

using fuzz::require;

// The characters MakePrinterText must print: all but the braces and a "_" or "^" right
// before a "{".
QString printable(const QString &text)
{
    QString kept;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool opens = (c == u'_' || c == u'^') && i + 1 < text.size() && text[i + 1] == u'{';
        if (!opens && c != u'{' && c != u'}')
            kept += c;
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes), qsizetype(size / 2));
    // Now and then a text over the limit, made of this one.
    if (size % 2 == 1 && bytes[size - 1] == 0xfe && !text.isEmpty())
        text = text.repeated(32767 / text.size() + 1);

    RecordingPrinter printer;
    printer.setFontSize(8.25f);
    printer.setCurrentY(3.0f);
    printer.calls.clear();
    try {
        require(report::MakePrinterText(printer, text).isEmpty(), "a result that is not empty");
    } catch (const std::overflow_error &) {
        require(text.size() > 32766, "a text within the limit refused");
        return 0;
    }
    require(text.size() <= 32766, "a text beyond the limit printed");

    QString printed;
    for (const RecordingPrinter::Call &call : std::as_const(printer.calls)) {
        if (call.name == QLatin1String("Print")) {
            require(call.text.size() == 1, "a Print of more or less than one character");
            printed += call.text;
        }
        require(call.name != QLatin1String("PrintLine"), "a line end");
    }
    require(printed == printable(text), "the printed characters");
    require(printer.FontSize() == 8.25f || printer.FontSize() == 6.0f, "a font size of its own");
    const double steps = (double(printer.CurrentY()) - 3.0) / 0.125;
    require(std::isfinite(steps) && std::fabs(steps - std::nearbyint(steps)) < 1e-3,
            "a height off the steps");
    return 0;
}
