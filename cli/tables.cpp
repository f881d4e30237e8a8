#include "tables.h"

#include "calculation_state.h"
#include "cli_options.h"
#include "csv_writer.h"
#include "field.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace cli {
namespace {

constexpr double kNoLevel = std::numeric_limits<double>::quiet_NaN();

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

// The levels at many points in front of one storage, NaN for a point the method
// refuses. The field refuses as a whole for one bad point, so a refused part is split
// until the refused points stand alone; in the common case this is one calculation.
void fieldLevels(const engine::CalculationInput &storage, const engine::FieldPoint *points, std::size_t count,
                 double *levels)
{
    if (count == 0)
        return;
    const engine::FieldResult field =
        engine::CalculateField(storage, std::vector<engine::FieldPoint>(points, points + count), '.');
    if (field.ok() && field.levels.size() == count) {
        std::copy(field.levels.begin(), field.levels.end(), levels);
        return;
    }
    if (count == 1) {
        levels[0] = kNoLevel;
        return;
    }
    const std::size_t half = count / 2;
    fieldLevels(storage, points, half, levels);
    fieldLevels(storage, points + half, count - half, levels + half);
}

// A sweep of the distance or the position only moves the points: one field for all rows,
// with the rows before the screen left out.
void pointSweep(const engine::CalculationInput &input, SweepTable &table)
{
    // A storage the method cannot compute has no row; no need to ask point by point.
    if (!engine::CalculateField(input, {}, '.').ok())
        return;
    std::vector<engine::FieldPoint> points;
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < table.values.size(); ++i) {
        engine::CalculationInput at = input;
        member(at, table.quantity) = table.values[i];
        if (pointBeforeScreen(at))
            continue;
        rows.push_back(i);
        for (std::size_t j = 0; j < table.columns; ++j)
            points.push_back({at.x, at.y, at.heights[j]});
    }
    std::vector<double> levels(points.size());
    fieldLevels(input, points.data(), points.size(), levels.data());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto first = levels.begin() + std::ptrdiff_t(r * table.columns);
        const auto last = first + std::ptrdiff_t(table.columns);
        // A row is the window's answer for its value: all of its levels or none.
        if (std::any_of(first, last, [](double level) { return std::isnan(level); }))
            continue;
        std::copy(first, last, table.levels.begin() + std::ptrdiff_t(rows[r] * table.columns));
    }
}

// Every other quantity changes the storage: one calculation per row.
void storageSweep(const engine::CalculationInput &input, SweepTable &table)
{
    engine::CalculationState state;
    for (std::size_t i = 0; i < table.values.size(); ++i) {
        engine::CalculationInput at = input;
        member(at, table.quantity) = table.values[i];
        if (pointBeforeScreen(at))
            continue;
        const engine::CalculationResult result = engine::Calculate(at, state, '.');
        if (result.ok() && result.levels.size() == table.columns)
            std::copy(result.levels.begin(), result.levels.end(),
                      table.levels.begin() + std::ptrdiff_t(i * table.columns));
    }
}

} // namespace

SweepTable sweepTable(const engine::CalculationInput &input, const Range &range)
{
    SweepTable table;
    table.quantity = range.quantity;
    table.values = range.values();
    table.columns = input.indoor ? 1 : input.heights.size();
    table.levels.assign(table.values.size() * table.columns, kNoLevel);
    if (range.quantity == QLatin1String("x") || range.quantity == QLatin1String("y"))
        pointSweep(input, table);
    else
        storageSweep(input, table);
    return table;
}

bool gridTable(const engine::CalculationInput &input, const Range &x, const Range &y, double z,
               GridTable &table, QString &error)
{
    const engine::FieldResult storage = engine::CalculateField(input, {}, '.');
    if (!storage.ok()) {
        error = QString::fromStdString(storage.message);
        return false;
    }
    table.x = x.values();
    table.y = y.values();
    table.levels.assign(table.x.size() * table.y.size(), kNoLevel);

    std::vector<engine::FieldPoint> points;
    std::vector<std::size_t> cells;
    points.reserve(table.levels.size());
    cells.reserve(table.levels.size());
    for (std::size_t i = 0; i < table.x.size(); ++i) {
        engine::CalculationInput at = input;
        at.x = table.x[i];
        if (pointBeforeScreen(at))
            continue;
        for (std::size_t j = 0; j < table.y.size(); ++j) {
            points.push_back({table.x[i], table.y[j], z});
            cells.push_back(i * table.y.size() + j);
        }
    }
    std::vector<double> levels(points.size());
    fieldLevels(input, points.data(), points.size(), levels.data());
    for (std::size_t p = 0; p < cells.size(); ++p)
        table.levels[cells[p]] = levels[p];
    return true;
}

void writeSweepCsv(const SweepTable &table)
{
    CsvWriter csv;
    csv.text((table.quantity + QStringLiteral(" (m)")).toStdString());
    for (std::size_t i = 1; i <= table.columns; ++i)
        csv.text("punt " + std::to_string(i) + " (kW/m²)");
    csv.text("hoogste (kW/m²)");
    csv.endRow();
    for (std::size_t i = 0; i < table.values.size(); ++i) {
        csv.number(table.values[i]);
        const auto first = table.levels.begin() + std::ptrdiff_t(i * table.columns);
        const auto last = first + std::ptrdiff_t(table.columns);
        for (auto level = first; level != last; ++level)
            csv.level(*level);
        csv.level(*std::max_element(first, last));
        csv.endRow();
    }
}

void writeGridCsv(const GridTable &table)
{
    CsvWriter csv;
    csv.text("x (m),y (m),niveau (kW/m²)");
    csv.endRow();
    for (std::size_t i = 0; i < table.x.size(); ++i) {
        for (std::size_t j = 0; j < table.y.size(); ++j) {
            csv.number(table.x[i]);
            csv.number(table.y[j]);
            csv.level(table.levels[i * table.y.size() + j]);
            csv.endRow();
        }
    }
}

} // namespace cli
