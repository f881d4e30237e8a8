#pragma once

#include "case_details.h"
#include "exploration.h"
#include "situatie_exports.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

class QPagedPaintDevice;

namespace explore {

// The program's version, as "Over" and the report name it.
QString ProgramVersion();

// When a report was made, in local time with its zone: "6 december 2026, 04:30 CET (UTC+01:00)".
QString ReportStamp(const QDateTime &when, const QLocale &locale);

// The "Verkenningsrapport" on A4 pages: the case, the verdict in words, the inputs and
// answers; the three views; the site, when the case has one (its map with the underlay
// and its answers); the method and the rules it rests on. Every page carries the time it
// was made and its number. Painted on any paged device: a PDF file or a printer; false
// when the device cannot be painted on (a printer that is not there).
bool PaintReport(QPagedPaintDevice &device, const Exploration &exploration, const CaseDetails &details,
                 const QDateTime &when, const QLocale &locale, const SituatieSnapshot *site = nullptr);

// The report as a PDF document.
QByteArray RenderReport(const Exploration &exploration, const CaseDetails &details, const QDateTime &when,
                        const QLocale &locale, const SituatieSnapshot *site = nullptr);

} // namespace explore
