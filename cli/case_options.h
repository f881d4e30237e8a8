#pragma once

#include "case_file.h"
#include "contour_export.h"
#include "limit_options.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

class QCommandLineParser;

namespace cli {

// What the case options ask: the case read with --case, and where --save-case and
// --contours write.
struct CaseRequest
{
    bool loaded = false;
    QString path;
    casefile::Case value;
    QString savePath;
    QString contoursPath;
    gis::ContourFormat contoursFormat = gis::ContourFormat::GeoJson;

    bool hasSite() const { return loaded && value.hasSite; }

    // The file's calculation, over which the command line's options are read.
    void fillInput(engine::CalculationInput &input) const;

    // The file's limit and envelope where the command line names none; the command line's
    // limit, envelope and heights also hold for the site.
    void fillRequest(const QCommandLineParser &parser, const engine::CalculationInput &input,
                     LimitRequest &request);
};

// The options --case, --save-case and --contours.
class CaseOptions
{
public:
    CaseOptions();

    void addTo(QCommandLineParser &parser) const;

    // Reads the case file and checks the other two options. Returns false with one Dutch
    // line that names the file and the key, or the option.
    bool read(const QCommandLineParser &parser, CaseRequest &request, QString &error) const;

    const QList<QCommandLineOption> &options() const { return m_options; }

private:
    QList<QCommandLineOption> m_options;
};

// Writes the command line's inputs as a case file (over the case read, whose names,
// site and unknown keys stay) through SafeFile. False with a Dutch line naming the file.
bool saveCase(const CaseRequest &request, const engine::CalculationInput &input, const LimitRequest &limits,
              QString &error);

} // namespace cli
