#include "level_plot.h"

#include "field.h"
#include "limit.h"
#include "number_text.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRectF>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace plot {
namespace {

constexpr int kSamples = 200;
constexpr double kWidth = 1050; // logical units: A5 landscape, 0.2 mm each
constexpr double kHeight = 740;
constexpr double kPngDotsPerInch = 150;

QString number(double value)
{
    return QString::fromStdString(engine::numberToText(value, '.'));
}

// 1, 2 or 5 times a power of ten, giving about `ticks` steps over `range`.
double niceStep(double range, int ticks)
{
    const double raw = range / ticks;
    const double power = std::pow(10, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= raw)
            return factor * power;
    }
    return 10 * power;
}

const QColor kCurveColours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c),
                                QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b)};
const QColor kLimitColour(0xd6, 0x27, 0x28);

QFont font(double pixels, bool bold = false)
{
    QFont result(QStringLiteral("Liberation Sans"));
    result.setPixelSize(qRound(pixels));
    result.setBold(bold);
    return result;
}

} // namespace

bool levelPlot(const engine::CalculationInput &input, double limitKw, bool envelope, LevelPlot &plot,
               QString &error)
{
    plot = LevelPlot {};
    plot.limitKw = limitKw;
    plot.title = QStringLiteral("Warmtestralingsniveau tegen afstand");
    plot.subtitle = QStringLiteral("%1: B %2 m, D %3 m, H %4 m%5%6")
                        .arg(input.indoor ? QStringLiteral("Binnenopslag") : QStringLiteral("Buitenopslag"),
                             number(input.B), number(input.D), number(input.H),
                             input.compact ? QStringLiteral(", compact gestapeld") : QString(),
                             input.screen && !input.indoor ? QStringLiteral(", afscherming %1 m hoog op %2 m")
                                                                 .arg(number(input.hs), number(input.xs))
                                                           : QString());

    const engine::Solution safe = engine::Solve(input, engine::SolveQuantity::Distance, limitKw, envelope);
    if (!safe.ok()) {
        error = QString::fromStdString(safe.message);
        return false;
    }
    plot.hasSafeDistance = safe.found;
    plot.safeDistance = safe.value;

    double first = 0.1;
    if (input.screen && !input.indoor)
        first = std::max(first, std::floor(input.xs * 100 + 1e-7) / 100 + 0.01);
    const double reach = std::max({10.0, 1.5 * input.x, safe.found ? 1.6 * safe.value : 0.0});
    const double last = std::ceil(reach / niceStep(reach, 8)) * niceStep(reach, 8);
    plot.firstDistance = first;
    plot.lastDistance = last;

    std::vector<double> distances;
    for (int i = 0; i < kSamples; ++i)
        distances.push_back(first + (last - first) * i / (kSamples - 1));

    const std::size_t count = input.indoor ? 1 : input.heights.size();
    std::vector<engine::FieldPoint> points;
    for (double x : distances) {
        for (std::size_t j = 0; j < count; ++j)
            points.push_back({x, input.y, input.heights[j]});
    }
    const engine::FieldResult field = engine::CalculateField(input, points, '.');
    if (!field.ok()) {
        error = QString::fromStdString(field.message);
        return false;
    }
    for (std::size_t j = 0; j < count; ++j) {
        Curve curve;
        curve.label = input.indoor
            ? QStringLiteral("Op halve gebouwhoogte (%1 m)").arg(number(input.H / 2))
            : QStringLiteral("Punt %1, hoogte %2 m").arg(j + 1).arg(number(input.heights[j]));
        for (std::size_t i = 0; i < distances.size(); ++i)
            curve.points.emplace_back(distances[i], field.levels[i * count + j] / 1000);
        plot.curves.push_back(curve);
    }
    if (envelope && !input.indoor) {
        const engine::HighestLevels highest = engine::HighestAlong(input, distances, true);
        if (!highest.ok()) {
            error = QString::fromStdString(highest.message);
            return false;
        }
        Curve curve;
        const double top = *std::max_element(input.heights.begin(), input.heights.end());
        curve.label = QStringLiteral("Omhullende, 0 tot %1 m hoog").arg(number(top));
        curve.envelope = true;
        for (std::size_t i = 0; i < distances.size(); ++i)
            curve.points.emplace_back(distances[i], highest.levels[i] / 1000);
        plot.curves.push_back(curve);
    }
    return true;
}

void drawLevelPlot(QPainter &painter, const QRectF &area, const LevelPlot &plot)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(area.topLeft());
    painter.scale(area.width() / kWidth, area.height() / kHeight);
    painter.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);

    painter.setPen(Qt::black);
    painter.setFont(font(24, true));
    painter.drawText(QRectF(0, 14, kWidth, 34), Qt::AlignHCenter | Qt::AlignVCenter, plot.title);
    painter.setFont(font(17));
    painter.drawText(QRectF(0, 48, kWidth, 26), Qt::AlignHCenter | Qt::AlignVCenter, plot.subtitle);

    const QRectF frame(100, 90, kWidth - 130, kHeight - 90 - 90);
    double top = plot.limitKw * 1.15;
    for (const Curve &curve : plot.curves) {
        for (const QPointF &p : curve.points)
            top = std::max(top, p.y());
    }
    const double yStep = niceStep(top, 7);
    const double yMax = std::ceil(top / yStep) * yStep;
    const double xStep = niceStep(plot.lastDistance, 10);
    const double xMax = plot.lastDistance;
    const auto toScreen = [&](double x, double y) {
        return QPointF(frame.left() + frame.width() * x / xMax, frame.bottom() - frame.height() * y / yMax);
    };

    // Grid, ticks and their numbers.
    painter.setFont(font(16));
    const QFontMetricsF metrics(painter.font());
    for (double y = 0; y <= yMax + yStep / 2; y += yStep) {
        const QPointF p = toScreen(0, y);
        painter.setPen(QPen(QColor(0xdd, 0xdd, 0xdd), 1));
        painter.drawLine(p, QPointF(frame.right(), p.y()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, p.y() - 12, frame.left() - 8, 24), Qt::AlignRight | Qt::AlignVCenter,
                         number(y));
    }
    for (double x = 0; x <= xMax + xStep / 2; x += xStep) {
        const QPointF p = toScreen(x, 0);
        painter.setPen(QPen(QColor(0xdd, 0xdd, 0xdd), 1));
        painter.drawLine(p, QPointF(p.x(), frame.top()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(p.x() - 50, frame.bottom() + 6, 100, 22), Qt::AlignHCenter | Qt::AlignTop,
                         number(x));
    }
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawRect(frame);

    // Axis titles.
    painter.setFont(font(18));
    painter.drawText(QRectF(frame.left(), frame.bottom() + 34, frame.width(), 26), Qt::AlignHCenter,
                     QStringLiteral("Afstand tot de opslag x (m)"));
    painter.save();
    painter.translate(24, frame.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-frame.height() / 2, -14, frame.height(), 28), Qt::AlignCenter,
                     QStringLiteral("Warmtestralingsniveau (kW/m²)"));
    painter.restore();

    // The curves, clipped to the frame.
    painter.save();
    painter.setClipRect(frame);
    std::size_t colour = 0;
    for (const Curve &curve : plot.curves) {
        QPainterPath path;
        for (std::size_t i = 0; i < curve.points.size(); ++i) {
            const QPointF p = toScreen(curve.points[i].x(), curve.points[i].y());
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        const QPen pen = curve.envelope ? QPen(Qt::black, 3.5, Qt::DashLine)
                                        : QPen(kCurveColours[colour++ % std::size(kCurveColours)], 2.5);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    painter.setPen(QPen(kLimitColour, 2.5, Qt::DashLine));
    const QPointF limitLeft = toScreen(0, plot.limitKw);
    painter.drawLine(limitLeft, QPointF(frame.right(), limitLeft.y()));
    painter.restore();

    // The legend goes in the upper corner that hides the fewest curve points.
    painter.setFont(font(16));
    std::vector<std::pair<QString, QPen>> entries;
    colour = 0;
    for (const Curve &curve : plot.curves)
        entries.emplace_back(curve.label,
                             curve.envelope ? QPen(Qt::black, 3.5, Qt::DashLine)
                                            : QPen(kCurveColours[colour++ % std::size(kCurveColours)], 2.5));
    entries.emplace_back(QStringLiteral("Grenswaarde %1 kW/m²").arg(QString::number(plot.limitKw, 'g', 6)),
                         QPen(kLimitColour, 2.5, Qt::DashLine));
    double legendWidth = 0;
    for (const auto &entry : entries)
        legendWidth = std::max(legendWidth, metrics.horizontalAdvance(entry.first));
    const double row = 24;
    const QSizeF legendSize(legendWidth + 60, row * double(entries.size()) + 12);
    const QRectF right(QPointF(frame.right() - legendSize.width() - 10, frame.top() + 10), legendSize);
    const QRectF left(QPointF(frame.left() + 10, frame.top() + 10), legendSize);
    const auto hidden = [&](const QRectF &box) {
        int count = 0;
        for (const Curve &curve : plot.curves) {
            for (const QPointF &p : curve.points)
                count += box.contains(toScreen(p.x(), p.y())) ? 1 : 0;
        }
        return count;
    };
    const QRectF legend = hidden(left) < hidden(right) ? left : right;
    // The safe distance: a vertical line down to the axis and its value.
    if (plot.hasSafeDistance && plot.safeDistance <= xMax) {
        const QPointF foot = toScreen(plot.safeDistance, 0);
        const QPointF onLimit = toScreen(plot.safeDistance, plot.limitKw);
        painter.setPen(QPen(kLimitColour, 2, Qt::DotLine));
        painter.drawLine(foot, onLimit);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kLimitColour);
        painter.drawEllipse(onLimit, 6, 6);
        painter.setPen(kLimitColour);
        painter.setFont(font(17, true));
        const QString label = QStringLiteral("Veilige afstand %1 m").arg(number(plot.safeDistance));
        const double width = QFontMetricsF(painter.font()).horizontalAdvance(label) + 8;
        const bool toRight = onLimit.x() + 10 + width < frame.right();
        QRectF box = toRight ? QRectF(onLimit.x() + 10, onLimit.y() - 34, width, 26)
                             : QRectF(onLimit.x() - 10 - width, onLimit.y() - 34, width, 26);
        if (box.intersects(legend))
            box.moveTop(onLimit.y() + 8);
        painter.fillRect(box, QColor(255, 255, 255, 220));
        painter.drawText(box, Qt::AlignCenter, label);
    }

    painter.setFont(font(16));
    painter.setPen(QPen(QColor(0x99, 0x99, 0x99), 1));
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawRect(legend);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double y = legend.top() + 6 + row * (i + 0.5);
        painter.setPen(entries[i].second);
        painter.drawLine(QPointF(legend.left() + 8, y), QPointF(legend.left() + 44, y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(legend.left() + 52, y - row / 2, legendWidth + 4, row),
                         Qt::AlignLeft | Qt::AlignVCenter, entries[i].first);
    }
    painter.restore();
}

bool formatForFile(const QString &file, Format &format)
{
    const QString lower = file.toLower();
    if (lower.endsWith(QLatin1String(".svg")))
        format = Format::Svg;
    else if (lower.endsWith(QLatin1String(".png")))
        format = Format::Png;
    else if (lower.endsWith(QLatin1String(".pdf")))
        format = Format::Pdf;
    else
        return false;
    return true;
}

QByteArray renderLevelPlot(const LevelPlot &plot, Format format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case Format::Svg: {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(int(kWidth), int(kHeight)));
        generator.setViewBox(QRectF(0, 0, kWidth, kHeight));
        generator.setResolution(127); // 1050 units over 210 mm
        generator.setTitle(plot.title);
        QPainter painter(&generator);
        drawLevelPlot(painter, QRectF(0, 0, kWidth, kHeight), plot);
        break;
    }
    case Format::Png: {
        const double mm = kPngDotsPerInch / 25.4;
        QImage image(qRound(210 * mm), qRound(148 * mm), QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(qRound(kPngDotsPerInch / 0.0254));
        image.setDotsPerMeterY(qRound(kPngDotsPerInch / 0.0254));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            drawLevelPlot(painter, QRectF(0, 0, image.width(), image.height()), plot);
        }
        image.save(&buffer, "PNG");
        break;
    }
    case Format::Pdf: {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A5));
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(300);
        writer.setTitle(plot.title);
        writer.setCreator(QStringLiteral("Warmtegloedvracht"));
        QPainter painter(&writer);
        drawLevelPlot(painter, QRectF(0, 0, writer.width(), writer.height()), plot);
        break;
    }
    }
    return bytes;
}

} // namespace plot
