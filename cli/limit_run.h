#pragma once

#include "calculate.h"
#include "limit.h"
#include "limit_options.h"

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

    // Adds "limit" and "solution" as asked.
    void addTo(QJsonObject &object) const;
    QString plain(bool envelope) const;
};

enum class LimitFailure { None, Undefined, NoFile };

// Runs the check, the solver and the chart the request asks for. On failure `error`
// holds the Dutch explanation: Undefined when the method cannot compute or no value in
// the solver's range complies, NoFile when the chart could not be written.
LimitFailure answerLimits(const engine::CalculationInput &input, const LimitRequest &request,
                          LimitAnswers &answers, QString &error);

// The CSV of --sweep or --grid; false with the Dutch explanation when the storage cannot
// be computed.
bool tableCsv(const engine::CalculationInput &input, const LimitRequest &request, QString &csv,
              QString &error);

} // namespace cli
