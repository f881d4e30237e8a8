#pragma once

#include "calculate.h"
#include "calculation_state.h"

#include <QDateTime>
#include <QImage>
#include <QLocale>
#include <QSize>
#include <QString>

#include <array>

namespace report {

// The black logo that the window's Picture1 shows and the page prints at its top right:
// its size on screen in pixels, and how many times finer it is drawn for paper.
constexpr QSize LogoSize(102, 43);
constexpr int LogoPrintScale = 8;

// What the report prints besides the calculation state: the few control values the
// window hands over right after a calculation.
struct ReportInput
{
    const engine::CalculationState *state = nullptr;
    bool Check1 = false;               // screen present
    bool Check2 = false;               // compactly stacked wood
    bool Check3 = false;               // indoor storage
    double enteredWidth = 0;           // Value of CWNumEdit1 as entered
    std::array<double, 5> heights {};  // Values of CWNumEdit8(0..4)
    std::array<QString, 5> levelTexts; // Text of Text2(0..4), printed unchanged
    QImage logo;                       // the picture held by Picture1
    char decimalSeparator = '.';       // of the user's locale
    QDateTime printedAt;               // footer date and time
};

// The decimal separator the report writes for a locale: the engine writes numbers with a
// one-character separator, so other locales get a point.
char decimalSeparatorOf(const QLocale &locale);

// The record for a finished calculation, as the controls hold it right after "Bereken":
// the options and entered values of `input`, the indoor assessment height written back
// into point 1, and the shown level texts. The logo, separator and time are the caller's.
// `state` must outlive the record.
ReportInput makeReportInput(const engine::CalculationInput &input, const engine::CalculationState &state,
                            const engine::CalculationResult &result);

} // namespace report
