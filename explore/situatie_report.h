#pragma once

#include "situatie_exports.h"

#include <QLocale>
#include <QString>

namespace explore {

// The Verkenningsrapport's text about the site: the verdict, the boundary's highest point
// (level, place, storage and face, height), the receivers' table, the faces' table and
// the underlay the map was drawn on. HTML for the report's text pages; the map itself is
// drawn by PaintSituatieSnapshot.
QString SituatieReportHtml(const SituatieSnapshot &snapshot, const QLocale &locale);

} // namespace explore
