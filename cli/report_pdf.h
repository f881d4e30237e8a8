#pragma once

#include "calculate.h"
#include "calculation_state.h"

#include <QString>

namespace cli {

// Writes the window's one-page calculation report for a finished calculation to a PDF
// file instead of the printer. Returns false, with a one-line Dutch message naming the
// file in `error`, when the file could not be written; an existing file is then untouched.
bool writeReportPdf(const QString &file, const engine::CalculationInput &input,
                    const engine::CalculationState &state, const engine::CalculationResult &result,
                    QString *error = nullptr);

} // namespace cli
