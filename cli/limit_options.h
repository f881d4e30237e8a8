#pragma once

#include "input_ranges.h"
#include "limit.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

#include <vector>

class QCommandLineParser;

namespace cli {

// A range FROM:TO:STEP of one quantity; the values are FROM + i x STEP up to TO, put
// back on the decimal grid that FROM and STEP were written with, so that the value
// written is the value computed (16.01, not 16.009999999999998).
struct Range
{
    QString quantity;
    double from = 0;
    double to = 0;
    double step = 1;
    int decimals = 0;
    long long count = 0;

    double value(long long i) const;
    std::vector<double> values() const;
};

// The steps of --sweep and --grid (m): from a millimetre, which every printed value
// resolves, to the widest range of any quantity.
inline constexpr engine::InputRange kStepRange {0.001, 20000};

// What the command line asks beyond the calculation: the limit check, a solver,
// a sweep, a plan-view grid and a chart.
struct LimitRequest
{
    double limitKw = 15;
    bool check = false;
    bool envelope = false;
    bool solve = false;
    engine::SolveQuantity quantity = engine::SolveQuantity::Distance;
    bool sweep = false;
    Range sweepRange;
    bool grid = false;
    Range gridX;
    Range gridY;
    bool atHeightSet = false;
    double atHeight = 0;
    QString plotFile;

    bool wantsCheck() const { return check || solve; }
    bool wantsTable() const { return sweep || grid; }
    // Whether the table itself moves the assessment points or the screen, so that a
    // point between the pile and the screen is a matter of its rows.
    bool tableMovesPoint() const;
};

// The most points a sweep (rows times levels) or a grid may compute.
constexpr long long kMaxPoints = 1000000;

// The options --limit, --check, --envelope, --solve, --sweep, --grid, --at-height, --plot.
class LimitOptions
{
public:
    LimitOptions();

    void addTo(QCommandLineParser &parser) const;

    // Reads the parsed values. Returns false with a one-line Dutch message naming the
    // option for a malformed value, a value or step outside its range, too many points
    // or options that do not go together. With `siteCoordinates` the grid's x and y are
    // a site's coordinates, not a distance and a position in front of one storage.
    bool read(const QCommandLineParser &parser, LimitRequest &request, QString &error,
              bool siteCoordinates = false) const;

    const QList<QCommandLineOption> &options() const { return m_options; }

private:
    QList<QCommandLineOption> m_options;
};

// Parses "FROM:TO:STEP" of `quantity`, whose values must lie in `allowed`; `option`
// names the option in the message.
bool parseRange(const engine::QuantityRange &quantity, const QString &text, const QString &option,
                Range &range, QString &error);

// Whether the command line asks for a chart, read before the application exists.
bool wantsPlot(int argc, char *argv[]);

} // namespace cli
