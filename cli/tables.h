#pragma once

#include "calculate.h"
#include "limit_options.h"

#include <QString>

#include <vector>

namespace cli {

// The levels of --sweep: for every value of the range one row of levels (W/m²; five
// outdoors, one indoors). A row the method cannot compute, or whose points lie between
// the pile and its screen, is all NaN.
struct SweepTable
{
    QString quantity;
    std::vector<double> values;
    std::size_t columns = 0;
    std::vector<double> levels; // values.size() × columns
};

SweepTable sweepTable(const engine::CalculationInput &input, const Range &range);

// The levels of --grid at one height (W/m²), x outer, y inner; NaN for a point the
// method cannot compute or that lies between the pile and its screen.
struct GridTable
{
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> levels; // x.size() × y.size()
};

// False with the Dutch explanation when the method cannot compute the storage at all.
bool gridTable(const engine::CalculationInput &input, const Range &x, const Range &y, double z,
               GridTable &table, QString &error);

// The tables as CSV on stdout: "Q (m),punt 1 (kW/m²),...,hoogste (kW/m²)" with a row per
// value, and "x (m),y (m),niveau (kW/m²)" with a row per point; levels in kW/m²,
// unrounded, empty fields where there is no level.
void writeSweepCsv(const SweepTable &table);
void writeGridCsv(const GridTable &table);

} // namespace cli
