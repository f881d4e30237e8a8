#pragma once

#include <QString>

namespace explore {

// Where the limits come from, said once for the limit's presets and the report. The
// method is the published determination method for timber storage; the rule that set
// 15 kW/m² outdoors changed its home over the years, and since 1 January 2024 the
// Omgevingswet holds the rules on buildings and their use (Besluit bouwwerken
// leefomgeving). Which provision applies to a case is for the user to check; the program
// only compares with the limit L the user gives.

// The preset of 15 kW/m²: the method's limit for timber stored outdoors.
QString LegalLimitSource();
// The presets of 10 and 12,5 kW/m² ("%1", the preset's caption): criteria in use, no
// legal limit for timber.
QString CriterionSource();
// The report's paragraphs on the method and the rules, as HTML.
QString LegalBasisHtml();

} // namespace explore
