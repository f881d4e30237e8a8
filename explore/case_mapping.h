#pragma once

#include "case_details.h"
#include "case_file.h"
#include "exploration.h"

namespace explore {

// How the window's parts and the case file's parts stand for each other.

// The inputs panel's input for a case's calculation, and back.
ExplorationInput InputOf(const casefile::Calculation &calculation);
casefile::Calculation CalculationOf(const ExplorationInput &input);
// Whether two calculations are the same to the last bit.
bool SameCalculation(const casefile::Calculation &a, const casefile::Calculation &b);
bool SameMeta(const casefile::Meta &a, const casefile::Meta &b);

// "Zaakgegevens" from the case's names: a date written as 2024-05-01 is the report's
// date; a date in other words is left to the file (the report then prints today's).
CaseDetails DetailsOf(const casefile::Meta &meta);
// The case's names after the user changed the details: the notes, which the window does
// not show, stay, and so does a date in other words as long as the date was not changed.
casefile::Meta MetaOf(const casefile::Meta &before, const CaseDetails &details);

} // namespace explore
