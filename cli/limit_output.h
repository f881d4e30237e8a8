#pragma once

#include "calculate.h"
#include "limit.h"

#include <QJsonObject>
#include <QString>

namespace cli {

// "limit": the limit in kW/m², the highest level in W/m² (like "levels"), the 1-based
// point (null when the envelope's highest lies between the points), its height in m,
// whether it complies; "envelope" with the highest level over every height (W/m²), its
// height and whether it complies, and "compliesOnlyAtPoints" when the five points comply
// but the level between them does not.
QJsonObject limitJson(const engine::LimitCheck &check);

// "solution": quantity, value in m, "bound" ("lowest" when every distance searched
// complies, "highest" when the top of the height or width search complies, else null),
// the position along the face it was judged at (m), the limit in kW/m², the levels in
// W/m² at the answer, and the highest level there (W/m²) with its height (m).
QJsonObject solutionJson(const engine::Solution &solution);

// The quantity's name as --solve takes it.
QString quantityName(engine::SolveQuantity quantity);

// "Hoogste niveau: ..." and "Grenswaarde ...: voldoet" lines; the verdict says so when
// the five points comply and the level between them does not.
QString plainCheck(const engine::LimitCheck &check, bool envelope);

// "Minimale afstand voor 15 kW/m²: 23.45 m" and the like; an answer at the edge of the
// search says that it is one ("elke afstand voldoet", "≥ 15 m (hoogste onderzochte
// hoogte)"), and the width says where it was judged.
QString plainSolution(const engine::Solution &solution);

} // namespace cli
