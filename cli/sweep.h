#pragma once

#include "calculate.h"
#include "limit_options.h"

#include <QString>

namespace cli {

// CSV of the levels for a range of one quantity: the quantity (m), the five levels and
// the highest in kW/m² (one level indoors), unrounded, decimal point. A row the method
// cannot compute keeps its level fields empty.
QString sweepCsv(const engine::CalculationInput &input, const Range &range);

// CSV of the plan-view levels at one height: x (m), y (m), level (kW/m²). Returns false
// with the Dutch explanation when the method cannot compute the storage.
bool gridCsv(const engine::CalculationInput &input, const Range &x, const Range &y, double z, QString &csv,
             QString &error);

} // namespace cli
