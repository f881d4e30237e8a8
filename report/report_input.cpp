#include "report_input.h"

namespace report {

char decimalSeparatorOf(const QLocale &locale)
{
    const QString point = locale.decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 128 ? static_cast<char>(point.at(0).unicode()) : '.';
}

ReportInput makeReportInput(const engine::CalculationInput &input, const engine::CalculationState &state,
                            const engine::CalculationResult &result)
{
    ReportInput record;
    record.state = &state;
    record.Check1 = input.screen;
    record.Check2 = input.compact;
    record.Check3 = input.indoor;
    record.enteredWidth = input.B;
    record.heights = input.heights;
    if (result.firstHeightWritten)
        record.heights[0] = result.firstHeight;
    for (std::size_t i = 0; i < result.texts.size() && i < record.levelTexts.size(); ++i)
        record.levelTexts[i] = QString::fromStdString(result.texts[i]);
    return record;
}

} // namespace report
