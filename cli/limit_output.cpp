#include "limit_output.h"

#include "number_text.h"

#include <QJsonArray>

namespace cli {
namespace {

QString text(double value)
{
    return QString::fromStdString(engine::numberToText(value, '.'));
}

// The limit as entered, not rounded to two decimals.
QString limitText(double limit)
{
    return QString::number(limit / 1000, 'g', 6);
}

QJsonValue boundJson(engine::SolutionBound bound)
{
    switch (bound) {
    case engine::SolutionBound::Lowest:
        return QStringLiteral("lowest");
    case engine::SolutionBound::Highest:
        return QStringLiteral("highest");
    case engine::SolutionBound::None:
        break;
    }
    return QJsonValue();
}

QString answerText(const engine::Solution &solution)
{
    const QString value = text(solution.value);
    switch (solution.bound) {
    case engine::SolutionBound::Lowest:
        return QStringLiteral("elke afstand voldoet (vanaf %1 m)").arg(value);
    case engine::SolutionBound::Highest:
        return solution.quantity == engine::SolveQuantity::Width
            ? QStringLiteral("≥ %1 m (grootste onderzochte breedte)").arg(value)
            : QStringLiteral("≥ %1 m (hoogste onderzochte hoogte)").arg(value);
    case engine::SolutionBound::None:
        break;
    }
    return QStringLiteral("%1 m").arg(value);
}

} // namespace

QString quantityName(engine::SolveQuantity quantity)
{
    switch (quantity) {
    case engine::SolveQuantity::Distance:
        return QStringLiteral("distance");
    case engine::SolveQuantity::Height:
        return QStringLiteral("height");
    case engine::SolveQuantity::Width:
        return QStringLiteral("width");
    }
    return QString();
}

QJsonObject limitJson(const engine::LimitCheck &check)
{
    return QJsonObject {
        {QStringLiteral("value"), check.limit / 1000},
        {QStringLiteral("highest"), check.highest},
        {QStringLiteral("point"), check.point >= 0 ? QJsonValue(check.point + 1) : QJsonValue()},
        {QStringLiteral("height"), check.height},
        {QStringLiteral("complies"), check.complies},
        {QStringLiteral("envelope"),
         QJsonObject {
             {QStringLiteral("highest"), check.envelopeHighest},
             {QStringLiteral("height"), check.envelopeHeight},
             {QStringLiteral("complies"), check.envelopeComplies},
         }},
        {QStringLiteral("compliesOnlyAtPoints"), check.compliesOnlyAtPoints()},
    };
}

QJsonObject solutionJson(const engine::Solution &solution)
{
    QJsonArray levels;
    for (double level : solution.levels)
        levels.append(level);
    return QJsonObject {
        {QStringLiteral("quantity"), quantityName(solution.quantity)},
        {QStringLiteral("value"), solution.value},
        {QStringLiteral("bound"), boundJson(solution.bound)},
        {QStringLiteral("position"), solution.position},
        {QStringLiteral("limit"), solution.limit / 1000},
        {QStringLiteral("levels"), levels},
        {QStringLiteral("highest"), solution.highest},
        {QStringLiteral("height"), solution.height},
    };
}

QString plainCheck(const engine::LimitCheck &check, bool envelope)
{
    QString where;
    if (check.point >= 0)
        where = QStringLiteral("bij beoordelingspunt %1 (hoogte %2 m)")
                    .arg(check.point + 1)
                    .arg(text(check.height));
    else
        where = QStringLiteral("op maatgevende hoogte %1 m").arg(text(check.height));
    QString lines = QStringLiteral("Hoogste niveau%1: %2 kW/m² %3\n")
                        .arg(envelope ? QStringLiteral(" over alle hoogten") : QString(),
                             text(check.highest / 1000), where);
    QString verdict = check.complies ? QStringLiteral("voldoet") : QStringLiteral("voldoet niet");
    if (check.compliesOnlyAtPoints()) {
        verdict =
            QStringLiteral("voldoet op de beoordelingspunten, maar niet daartussen: %1 kW/m² op %2 m hoogte "
                           "(zie --envelope)")
                .arg(text(check.envelopeHighest / 1000), text(check.envelopeHeight));
    }
    lines += QStringLiteral("Grenswaarde %1 kW/m²: %2\n").arg(limitText(check.limit), verdict);
    return lines;
}

QString plainSolution(const engine::Solution &solution)
{
    QString what;
    QString where;
    switch (solution.quantity) {
    case engine::SolveQuantity::Distance:
        what = QStringLiteral("Minimale afstand");
        break;
    case engine::SolveQuantity::Height:
        what = QStringLiteral("Maximale hoogte van de opslag");
        break;
    case engine::SolveQuantity::Width:
        what = QStringLiteral("Maximale breedte van de opslag");
        where = QStringLiteral(", voor een beoordelingspunt voor het midden van de gevel (y = %1 m)")
                    .arg(text(solution.position));
        break;
    }
    return QStringLiteral("%1 voor %2 kW/m²: %3%4\n")
        .arg(what, limitText(solution.limit), answerText(solution), where);
}

} // namespace cli
