#include "limit_run.h"

#include "level_plot.h"
#include "limit_output.h"
#include "output_file.h"
#include "sweep.h"

namespace cli {

void LimitAnswers::addTo(QJsonObject &object) const
{
    if (hasCheck)
        object.insert(QStringLiteral("limit"), limitJson(check));
    if (hasSolution)
        object.insert(QStringLiteral("solution"), solutionJson(solution));
}

QString LimitAnswers::plain(bool envelope) const
{
    QString text;
    if (hasCheck)
        text += plainCheck(check, envelope);
    if (hasSolution)
        text += plainSolution(solution);
    return text;
}

LimitFailure answerLimits(const engine::CalculationInput &input, const LimitRequest &request,
                          LimitAnswers &answers, QString &error)
{
    if (!request.plotFile.isEmpty() && !mayReplace(request.plotFile, error))
        return LimitFailure::NoFile;
    if (request.wantsCheck() || request.envelope) {
        answers.check = engine::CheckLimit(input, request.limitKw, request.envelope);
        if (!answers.check.ok()) {
            error = QString::fromStdString(answers.check.message);
            return LimitFailure::Undefined;
        }
        answers.hasCheck = true;
    }
    if (request.solve) {
        answers.solution = engine::Solve(input, request.quantity, request.limitKw, request.envelope);
        if (!answers.solution.ok() || !answers.solution.found) {
            error = QString::fromStdString(answers.solution.message);
            return LimitFailure::Undefined;
        }
        answers.hasSolution = true;
    }
    if (!request.plotFile.isEmpty()) {
        plot::LevelPlot chart;
        if (!plot::levelPlot(input, request.limitKw, request.envelope, chart, error))
            return LimitFailure::Undefined;
        plot::Format format = plot::Format::Svg;
        plot::formatForFile(request.plotFile, format);
        const QByteArray bytes = plot::renderLevelPlot(chart, format);
        if (bytes.isEmpty()) {
            error = QStringLiteral("De grafiek kon niet worden getekend.");
            return LimitFailure::NoFile;
        }
        if (!writeFileAtomically(request.plotFile, bytes, error))
            return LimitFailure::NoFile;
    }
    return LimitFailure::None;
}

bool tableCsv(const engine::CalculationInput &input, const LimitRequest &request, QString &csv,
              QString &error)
{
    if (request.sweep) {
        csv = sweepCsv(input, request.sweepRange);
        return true;
    }
    const double z = request.atHeightSet ? request.atHeight : input.heights[0];
    return gridCsv(input, request.gridX, request.gridY, z, csv, error);
}

} // namespace cli
