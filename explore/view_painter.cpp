#include "view_painter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace explore {
namespace {

using plot::ChartLine;
using plot::ChartSeries;
using plot::Marker;

// Pens of the charts' own lines, in pixels of a 96 dpi screen.
constexpr double kSeriesWidth = 1.6;
constexpr double kHeightCurveWidth = 2;
constexpr double kDistanceLineWidth = 1.2;
constexpr double kTopLineWidth = 1;
constexpr double kScreenWidth = 2.5;
// Room above the highest curve, as a share of it.
constexpr double kDistanceHeadroom = 1.05;
constexpr double kHeightHeadroom = 1.1;

QString metres(double value, const QLocale &locale)
{
    return Number(value, locale) + QStringLiteral(" m");
}

QString kw(double value, const QLocale &locale)
{
    return Number(value, locale) + QStringLiteral(" kW/m²");
}

double ceilTo(double value, double step)
{
    return std::max(step, std::ceil(value / step) * step);
}

ChartSeries heightSeries(const Exploration &exploration, std::size_t s, const QLocale &locale,
                         const ChartColours &colours)
{
    const DistanceProfile &profile = exploration.distance;
    ChartSeries series;
    series.name = exploration.input.storage.indoor
        ? QStringLiteral("beoordelingspunt op halve gebouwhoogte (%1)")
              .arg(metres(profile.heights[s], locale))
        : QStringLiteral("punt %1 (%2)").arg(s + 1).arg(metres(profile.heights[s], locale));
    series.pen = plot::HeightSeriesPen(s, kSeriesWidth, colours);
    series.marker = plot::HeightSeriesMarker(s);
    for (std::size_t i = 0; i < profile.distances.size(); ++i)
        series.points.emplace_back(profile.distances[i], profile.levels[s][i]);
    return series;
}

// The check's highest level where the check finds it; without the envelope, also the
// envelope's when it is higher between the points.
void markHighest(LineChart &chart, const Exploration &exploration, const QLocale &locale)
{
    const engine::LimitCheck &check = exploration.answers.check;
    if (!exploration.hasAnswers || !check.ok())
        return;
    const auto text = [&](double level, double height) {
        return QStringLiteral("%1 op %2").arg(kw(level / 1000, locale), metres(height, locale));
    };
    chart.marks.push_back({QPointF(check.highest / 1000, check.height),
                           QStringLiteral("hoogste: %1").arg(text(check.highest, check.height)),
                           Marker::Diamond});
    const bool higherBetween = !exploration.input.envelope && !exploration.input.storage.indoor
        && check.envelopeHighest > check.highest
        && text(check.envelopeHighest, check.envelopeHeight) != text(check.highest, check.height);
    if (higherBetween) {
        chart.marks.push_back(
            {QPointF(check.envelopeHighest / 1000, check.envelopeHeight),
             QStringLiteral("tussen de punten: %1").arg(text(check.envelopeHighest, check.envelopeHeight)),
             Marker::Circle});
    }
}

QString heightNote(const ExplorationInput &input, const QLocale &locale)
{
    if (input.storage.indoor)
        return QStringLiteral("Binnenopslag: één beoordelingspunt op halve gebouwhoogte; het niveau hangt "
                              "niet van de hoogte af.");
    if (input.envelope)
        return QStringLiteral("Gemarkeerd: het hoogste niveau over alle hoogtes tot het hoogste "
                              "beoordelingspunt (%1), zoals de toets het vindt.")
            .arg(metres(input.highestAssessmentHeight(), locale));
    return QStringLiteral(
        "Gemarkeerd: het hoogste niveau van de beoordelingspunten, zoals de toets het vindt.");
}

} // namespace

QString Number(double value, const QLocale &locale, int decimals)
{
    if (!std::isfinite(value))
        return QStringLiteral("–");
    QString text = locale.toString(value, 'f', decimals);
    // Never a "-0,00".
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals))
        text = locale.toString(0.0, 'f', decimals);
    return text;
}

LineChart DistanceChart(const Exploration &exploration, const QLocale &locale, const ChartColours &colours)
{
    const ExplorationInput &input = exploration.input;
    const DistanceProfile &profile = exploration.distance;
    LineChart chart;
    chart.colours = colours;
    chart.title =
        QStringLiteral("Warmtestralingsniveau tegen afstand (y = %1)").arg(metres(input.storage.y, locale));
    chart.xTitle = QStringLiteral("Afstand tot de opslag x (m)");
    chart.yTitle = QStringLiteral("Warmtestralingsniveau (kW/m²)");
    chart.xMin = 0;
    chart.xMax = profile.distances.empty() ? 20 : profile.distances.back();
    double highest = input.limitKw;
    for (double level : profile.highest)
        highest = std::max(highest, level);
    chart.yMax = ceilTo(highest * kDistanceHeadroom, 10);
    for (std::size_t s = 0; s < profile.levels.size(); ++s)
        chart.series.push_back(heightSeries(exploration, s, locale, colours));
    if (!profile.envelope.empty()) {
        ChartSeries series;
        series.name = QStringLiteral("omhullende (hoogste over 0 m tot hoogste punt)");
        series.pen = plot::EnvelopePen(colours);
        for (std::size_t i = 0; i < profile.distances.size(); ++i)
            series.points.emplace_back(profile.distances[i], profile.envelope[i]);
        chart.series.push_back(series);
    }
    const engine::Solution &distance = exploration.answers.distance;
    const bool everyDistance = exploration.hasAnswers && distance.ok() && distance.found
        && distance.bound == engine::SolutionBound::Lowest;
    chart.lines.push_back(
        plot::LimitLine(input.limitKw, false,
                        QStringLiteral("L = %1%2")
                            .arg(kw(input.limitKw, locale),
                                 everyDistance ? QStringLiteral(": elke afstand voldoet") : QString()),
                        colours));
    chart.lines.push_back({input.storage.x, true,
                           QStringLiteral("x = %1").arg(metres(input.storage.x, locale)),
                           QPen(colours.muted, kDistanceLineWidth, Qt::DotLine)});
    if (input.screenActive())
        chart.lines.push_back(
            {input.storage.xs, true, QStringLiteral("scherm"), QPen(colours.muted, kScreenWidth)});
    if (exploration.hasAnswers && distance.ok() && distance.found && !everyDistance) {
        plot::MarkLimitDistance(chart, distance.value, input.limitKw,
                                QStringLiteral("minimale afstand %1").arg(metres(distance.value, locale)));
    }
    return chart;
}

LineChart HeightChart(const Exploration &exploration, const QLocale &locale, const ChartColours &colours)
{
    const ExplorationInput &input = exploration.input;
    const HeightProfile &profile = exploration.height;
    LineChart chart;
    chart.colours = colours;
    chart.title = QStringLiteral("Warmtestralingsniveau tegen hoogte (x = %1, y = %2)")
                      .arg(metres(input.storage.x, locale), metres(input.storage.y, locale));
    chart.xTitle = QStringLiteral("Warmtestralingsniveau (kW/m²)");
    chart.yTitle = QStringLiteral("Hoogte van het beoordelingspunt (m)");
    double highest = std::max(input.limitKw, exploration.answers.check.highest / 1000);
    for (double level : profile.levels)
        highest = std::max(highest, level);
    chart.xMax = ceilTo(highest * kHeightHeadroom, 10);
    chart.yMax = profile.heights.empty() ? 10 : profile.heights.back();
    ChartSeries series;
    series.name = QStringLiteral("niveau op afstand x");
    series.pen = plot::HeightSeriesPen(0, kHeightCurveWidth, colours);
    for (std::size_t i = 0; i < profile.heights.size(); ++i)
        series.points.emplace_back(profile.levels[i], profile.heights[i]);
    chart.series.push_back(series);
    chart.lines.push_back(plot::LimitLine(input.limitKw, true,
                                          QStringLiteral("L = %1").arg(kw(input.limitKw, locale)), colours));
    const QString top = input.storage.indoor ? QStringLiteral("bovenkant gebouw H = %1")
                                             : QStringLiteral("bovenkant opslag H = %1");
    chart.lines.push_back({input.storage.H, false, top.arg(metres(input.storage.H, locale)),
                           QPen(colours.muted, kTopLineWidth, Qt::DotLine)});
    markHighest(chart, exploration, locale);
    chart.note = heightNote(input, locale);
    return chart;
}

void PaintView(QPainter &painter, const QRectF &area, ViewKind kind, const Exploration &exploration,
               const QLocale &locale, const ChartColours &colours)
{
    switch (kind) {
    case ViewKind::Distance:
        plot::PaintLineChart(painter, area, DistanceChart(exploration, locale, colours), locale);
        return;
    case ViewKind::Height:
        plot::PaintLineChart(painter, area, HeightChart(exploration, locale, colours), locale);
        return;
    case ViewKind::Plan:
        PaintPlan(painter, area, exploration, locale, colours);
        return;
    }
}

} // namespace explore
