#pragma once

#include "situatie_model.h"

#include "case_file.h"

#include <QString>

namespace explore {

// The Situatie's state and the case file: the site and its `underlay` key. The underlay's
// path is written relative to `caseFolder` (the case file's folder; empty for a case not
// yet saved, which keeps the absolute path).

// Takes the site and underlay from a case as read; false with the Dutch line of a
// malformed `underlay` (the site itself is the case module's and already checked).
bool SituatieFromCase(const casefile::Case &value, const QString &caseFolder, SituatieState &state,
                      QString &error);

// Puts the state into the case: its site (or none) and the underlay in the site's object.
void SituatieIntoCase(const SituatieState &state, const QString &caseFolder, casefile::Case &value);

} // namespace explore
