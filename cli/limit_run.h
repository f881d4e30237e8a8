#pragma once

#include "calculate.h"
#include "limit.h"
#include "limit_options.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace cli {

// The answers to the limit options for one storage, ready for output.
struct LimitAnswers
{
    bool hasCheck = false;
    engine::LimitCheck check;
    bool hasSolution = false;
    engine::Solution solution;
    QByteArray chart; // the --plot file's bytes

    // Adds "limit" and "solution" as asked.
    void addTo(QJsonObject &object) const;
    QString plain(bool envelope) const;
};

enum class LimitFailure { None, Undefined, NoFile };

// Runs the check, the solver and draws the chart the request asks for; writes nothing.
// On failure `error` holds the Dutch explanation: Undefined when the method cannot
// compute or no value in the solver's range complies, NoFile when the chart could not
// be drawn.
LimitFailure answerLimits(const engine::CalculationInput &input, const LimitRequest &request,
                          LimitAnswers &answers, QString &error);

// Writes the drawn chart to the --plot file; false with the Dutch explanation.
bool writeChart(const LimitRequest &request, const LimitAnswers &answers, QString &error);

} // namespace cli
