#pragma once

#include "report_input.h"

namespace platform {
class MessageBox;
class Printer;
} // namespace platform

namespace report {

// Composes the one-page calculation report on the printer (page set-up, title, rules,
// introduction, the indoor or outdoor body, the table, the logo and the footer).
// Throws what the printer throws.
void composeCalculationReport(const ReportInput &input, platform::Printer &printer);

// The printing half of "Print": composes the page, names the printer in the
// "PRINTER MESSAGE" box (skipped when messageBox is null, as for a PDF file) and
// releases the page. Any failure abandons the page silently (KillDoc, EndDoc) and
// returns false; nothing escapes.
bool printCalculationReport(const ReportInput &input, platform::Printer &printer,
                            platform::MessageBox *messageBox);

} // namespace report
