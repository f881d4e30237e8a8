#include "sweep.h"

#include "calculation_state.h"
#include "field.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>

namespace cli {
namespace {

// The shortest text that reads back as the same double, with a decimal point.
QString exact(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString header(const QString &quantity, std::size_t levels)
{
    QStringList columns {QStringLiteral("%1 (m)").arg(quantity)};
    for (std::size_t i = 1; i <= levels; ++i)
        columns.append(QStringLiteral("punt %1 (kW/m²)").arg(i));
    columns.append(QStringLiteral("hoogste (kW/m²)"));
    return columns.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QString row(double value, const std::vector<double> &levels, std::size_t count)
{
    QStringList fields {exact(value)};
    for (std::size_t i = 0; i < count; ++i)
        fields.append(i < levels.size() ? exact(levels[i] / 1000) : QString());
    fields.append(levels.empty() ? QString() : exact(*std::max_element(levels.begin(), levels.end()) / 1000));
    return fields.join(QLatin1Char(',')) + QLatin1Char('\n');
}

double &member(engine::CalculationInput &input, const QString &quantity)
{
    if (quantity == QLatin1String("y"))
        return input.y;
    if (quantity == QLatin1String("H"))
        return input.H;
    if (quantity == QLatin1String("B"))
        return input.B;
    if (quantity == QLatin1String("D"))
        return input.D;
    if (quantity == QLatin1String("hs"))
        return input.hs;
    if (quantity == QLatin1String("xs"))
        return input.xs;
    return input.x;
}

} // namespace

QString sweepCsv(const engine::CalculationInput &input, const Range &range)
{
    const std::size_t count = input.indoor ? 1 : input.heights.size();
    QString csv = header(range.quantity, count);

    // Distance and position only move the points: one many-points calculation.
    const bool points = range.quantity == QLatin1String("x") || range.quantity == QLatin1String("y");
    if (points) {
        std::vector<engine::FieldPoint> field;
        for (long long i = 0; i < range.count; ++i) {
            engine::CalculationInput at = input;
            member(at, range.quantity) = range.value(i);
            for (std::size_t j = 0; j < count; ++j)
                field.push_back({at.x, at.y, at.heights[j]});
        }
        const engine::FieldResult result = engine::CalculateField(input, field, '.');
        if (result.ok()) {
            for (long long i = 0; i < range.count; ++i) {
                const auto first = result.levels.begin() + i * static_cast<long long>(count);
                csv += row(range.value(i), std::vector<double>(first, first + static_cast<long long>(count)),
                           count);
            }
            return csv;
        }
        // Some point is refused: fall back to one calculation per row.
    }
    engine::CalculationState state;
    for (long long i = 0; i < range.count; ++i) {
        engine::CalculationInput at = input;
        member(at, range.quantity) = range.value(i);
        const engine::CalculationResult result = engine::Calculate(at, state, '.');
        csv += row(range.value(i), result.ok() ? result.levels : std::vector<double> {}, count);
    }
    return csv;
}

bool gridCsv(const engine::CalculationInput &input, const Range &x, const Range &y, double z, QString &csv,
             QString &error)
{
    csv = QStringLiteral("x (m),y (m),niveau (kW/m²)\n");
    std::vector<engine::FieldPoint> points;
    points.reserve(std::size_t(x.count * y.count));
    for (long long i = 0; i < x.count; ++i) {
        for (long long j = 0; j < y.count; ++j)
            points.push_back({x.value(i), y.value(j), z});
    }
    const engine::FieldResult result = engine::CalculateField(input, points, '.');
    if (!result.ok()) {
        error = QString::fromStdString(result.message);
        return false;
    }
    for (std::size_t p = 0; p < points.size(); ++p)
        csv += exact(points[p].x) + QLatin1Char(',') + exact(points[p].y) + QLatin1Char(',')
            + exact(result.levels[p] / 1000) + QLatin1Char('\n');
    return true;
}

} // namespace cli
