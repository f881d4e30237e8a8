#pragma once

#include "case_options.h"
#include "limit_options.h"
#include "site_check.h"
#include "tables.h"

#include <QJsonObject>
#include <QString>

namespace cli {

// The site's answers for output: the boundary, the receivers and the faces.
struct SiteAnswers
{
    const engine::Site *site = nullptr;
    engine::SiteCheck check;

    // The JSON object "site": levels in W/m², lengths in m, the limit in kW/m².
    QJsonObject json() const;
    // One Dutch line for the boundary, one per receiver and per face, and the verdict.
    QString plain() const;
};

// Checks the site. False with the method's explanation when a face cannot be computed.
bool answerSite(const engine::Site &site, SiteAnswers &answers, QString &error);

// Whether the --grid of a site stays within what its exact levels can give in seconds:
// at most 250,000 points, 10,000 with the envelope (every face in front of a point is then
// judged at every height). False with one Dutch line naming the option.
bool siteGridAllowed(const engine::Site &site, const LimitRequest &request, QString &error);

// The site's exact level map for --grid (W/m²; NaN inside a storage), at the site's
// heights or, with `atHeightSet`, at that one height; the CSV is the grid's (tables.h).
bool siteGridTable(const engine::Site &site, const LimitRequest &request, GridTable &table, QString &error);

enum class ContourFailure { None, Undefined, NoFile };

// Writes the contour lines at the site's limit and at 5, 10, 20 and 30 kW/m² to the
// --contours file, over the --grid when one is given and otherwise over the site with
// room for the lowest level. Undefined with the method's explanation; NoFile when the
// file could not be written.
ContourFailure writeContours(const engine::Site &site, const CaseRequest &cases, const LimitRequest &request,
                             QString &error);

} // namespace cli
