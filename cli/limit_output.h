#pragma once

#include "calculate.h"
#include "limit.h"

#include <QJsonObject>
#include <QString>

namespace cli {

// "limit": the limit in kW/m², the highest level in W/m² (like "levels"), the 1-based
// point (null when the envelope's highest lies between the points), its height in m,
// and whether it complies.
QJsonObject limitJson(const engine::LimitCheck &check);

// "solution": quantity, value in m, the limit in kW/m², the levels in W/m² at the answer,
// and the highest level there (W/m²) with its height (m).
QJsonObject solutionJson(const engine::Solution &solution);

// The quantity's name as --solve takes it.
QString quantityName(engine::SolveQuantity quantity);

// "Hoogste niveau: ..." and "Grenswaarde ...: voldoet" lines.
QString plainCheck(const engine::LimitCheck &check, bool envelope);

// "Minimale afstand voor 15 kW/m²: 23.45 m" and the like.
QString plainSolution(const engine::Solution &solution);

} // namespace cli
