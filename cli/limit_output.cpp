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
    lines += QStringLiteral("Grenswaarde %1 kW/m²: %2\n")
                 .arg(limitText(check.limit),
                      check.complies ? QStringLiteral("voldoet") : QStringLiteral("voldoet niet"));
    return lines;
}

QString plainSolution(const engine::Solution &solution)
{
    QString what;
    switch (solution.quantity) {
    case engine::SolveQuantity::Distance:
        what = QStringLiteral("Minimale afstand");
        break;
    case engine::SolveQuantity::Height:
        what = QStringLiteral("Maximale hoogte van de opslag");
        break;
    case engine::SolveQuantity::Width:
        what = QStringLiteral("Maximale breedte van de opslag");
        break;
    }
    return QStringLiteral("%1 voor %2 kW/m²: %3 m\n")
        .arg(what, limitText(solution.limit), text(solution.value));
}

} // namespace cli
