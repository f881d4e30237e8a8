#pragma once

#include "calculation_state.h"

#include <QDateTime>
#include <QImage>
#include <QString>

#include <array>

namespace report {

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

} // namespace report
