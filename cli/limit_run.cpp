#include "limit_run.h"

#include "level_plot.h"
#include "limit_output.h"
#include "program_output.h"
#include "safe_file.h"

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
    if (request.wantsCheck() || request.envelope) {
        answers.check = engine::CheckLimit(input, request.limitKw, request.envelope);
        if (!answers.check.ok()) {
            error = oneLine(answers.check.message);
            return LimitFailure::Undefined;
        }
        answers.hasCheck = true;
    }
    if (request.solve) {
        answers.solution = engine::Solve(input, request.quantity, request.limitKw, request.envelope);
        if (!answers.solution.ok() || !answers.solution.found) {
            error = oneLine(answers.solution.message);
            return LimitFailure::Undefined;
        }
        answers.hasSolution = true;
    }
    if (!request.plotFile.isEmpty()) {
        plot::LevelPlot chart;
        if (!plot::levelPlot(input, request.limitKw, request.envelope, chart, error)) {
            error = error.simplified();
            return LimitFailure::Undefined;
        }
        plot::Format format = plot::Format::Svg;
        plot::formatForFile(request.plotFile, format);
        answers.chart = plot::renderLevelPlot(chart, format);
        if (answers.chart.isEmpty()) {
            error = QStringLiteral("De grafiek kon niet worden getekend.");
            return LimitFailure::NoFile;
        }
    }
    return LimitFailure::None;
}

bool writeChart(const LimitRequest &request, const LimitAnswers &answers, QString &error)
{
    return request.plotFile.isEmpty() || platform::SafeFile::write(request.plotFile, answers.chart, &error);
}

} // namespace cli
