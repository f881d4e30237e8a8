#pragma once

#include "calculate.h"
#include "calculation_state.h"

#include <QJsonObject>
#include <QString>

namespace cli {

// The calculation state's scalar fields by name, the raw levels in W/m² and the result
// texts, for checking the program's figures from scripts.
QJsonObject resultJson(const engine::CalculationState &state, const engine::CalculationResult &result);

// One line per assessment point: point number, height and level in kW/m² as shown.
QString plainResult(const engine::CalculationInput &input, const engine::CalculationResult &result);

} // namespace cli
