#include "calculation_run.h"

#include "limit_run.h"
#include "program_output.h"
#include "report_pdf.h"
#include "result_output.h"
#include "safe_file.h"
#include "site_run.h"
#include "system_error_text.h"
#include "tables.h"

#include "calculation_state.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cerrno>

#include <unistd.h>

namespace cli {
namespace {

// Where writing `file` lands: links followed to their final target, which need not exist.
QString finalTarget(const QString &file)
{
    QString path = QFileInfo(file).absoluteFilePath();
    for (int link = 0; link < 40; ++link) {
        const QFileInfo info(path);
        if (!info.isSymLink())
            break;
        path = info.symLinkTarget();
    }
    return path;
}

// Whether a file can be written: a regular file or none yet, in a folder that is there and
// may be written (or, failing that, a file that may be written in place), also behind links.
bool mayWrite(const QString &file, QString &error)
{
    if (!platform::SafeFile::mayWrite(file, &error))
        return false;
    const QString target = finalTarget(file);
    const QByteArray path = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    if (::access(folder.constData(), W_OK | X_OK) == 0 || ::access(path.constData(), W_OK) == 0)
        return true;
    error =
        QStringLiteral("'%1' kan niet worden geschreven: %2.").arg(file, platform::systemErrorText(errno));
    return false;
}

// The files the request names must be writable before anything is composed, so that a
// refusal leaves every file as it was.
bool filesWritable(const Request &request, QString &error)
{
    const std::pair<QString, QString> files[] = {
        {request.pdfFile, QStringLiteral("Geen rapport: ")},
        {request.limits.plotFile, QString()},
        {request.cases.savePath, QStringLiteral("Geen zaakbestand: ")},
        {request.cases.contoursPath, QStringLiteral("Geen contourbestand: ")},
    };
    for (const auto &[file, what] : files) {
        if (!file.isEmpty() && !mayWrite(file, error)) {
            error.prepend(what);
            return false;
        }
    }
    return true;
}

// The case's files, after everything else has been computed: the contour lines first (they
// are computed as they are written), then the case itself.
int writeCaseFiles(const Request &request, QString &error)
{
    if (request.cases.hasSite() && !request.cases.contoursPath.isEmpty()) {
        switch (writeContours(request.cases.value.site, request.cases, request.limits, error)) {
        case ContourFailure::Undefined:
            return fail(Undefined, error);
        case ContourFailure::NoFile:
            return fail(NoFile, error);
        case ContourFailure::None:
            break;
        }
    }
    if (!saveCase(request.cases, request.input, request.limits, error))
        return fail(NoFile, error);
    return Success;
}

} // namespace

int runCalculation(const Request &request)
{
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(request.input, state, '.');
    if (!result.ok())
        return fail(Undefined, oneLine(result.message));

    QString error;
    if (!filesWritable(request, error))
        return fail(NoFile, error);
    LimitAnswers answers;
    switch (answerLimits(request.input, request.limits, answers, error)) {
    case LimitFailure::Undefined:
        return fail(Undefined, error);
    case LimitFailure::NoFile:
        return fail(NoFile, error);
    case LimitFailure::None:
        break;
    }
    SiteAnswers site;
    if (request.cases.hasSite() && !answerSite(request.cases.value.site, site, error))
        return fail(Undefined, error);

    if (const int code = writeCaseFiles(request, error); code != Success)
        return code;
    if (!request.pdfFile.isEmpty() && !writeReportPdf(request.pdfFile, request.input, state, result, &error))
        return fail(NoFile, QStringLiteral("Geen rapport: %1").arg(error));
    if (!writeChart(request.limits, answers, error))
        return fail(NoFile, error);

    if (request.json) {
        QJsonObject object = resultJson(state, result);
        answers.addTo(object);
        if (request.cases.hasSite())
            object.insert(QStringLiteral("site"), site.json());
        writeOut(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)));
    } else {
        writeOut(plainResult(request.input, result) + answers.plain(request.limits.envelope)
                 + (request.cases.hasSite() ? site.plain() : QString()));
    }
    return finishOutput();
}

int runTable(const Request &request)
{
    const LimitRequest &limits = request.limits;
    QString error;
    if (!filesWritable(request, error))
        return fail(NoFile, error);
    if (limits.sweep) {
        const SweepTable sweep = sweepTable(request.input, limits.sweepRange);
        if (const int code = writeCaseFiles(request, error); code != Success)
            return code;
        writeSweepCsv(sweep);
        return finishOutput();
    }
    GridTable grid;
    const bool computed = request.cases.hasSite()
        ? siteGridTable(request.cases.value.site, limits, grid, error)
        : gridTable(request.input, limits.gridX, limits.gridY,
                    limits.atHeightSet ? limits.atHeight : request.input.heights[0], grid, error);
    if (!computed)
        return fail(Undefined, oneLine(error.toStdString()));
    if (const int code = writeCaseFiles(request, error); code != Success)
        return code;
    writeGridCsv(grid);
    return finishOutput();
}

} // namespace cli
