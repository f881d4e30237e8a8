#pragma once

#include <QColor>
#include <QFont>
#include <QLocale>
#include <QRectF>
#include <QString>

#include <array>

class QFontMetricsF;
class QPainter;
class QPaintDevice;
class QPalette;

namespace plot {

// The colours a view is drawn in. On the screen they follow the desktop's palette, light
// or dark; files and prints are drawn on white paper. The colour map of the plan is the
// same in both: it carries values, not decoration.
struct ChartColours
{
    QColor paper;                 // the view's background
    QColor ink;                   // texts, axes, frames, the envelope
    QColor grid;                  // grid lines, faint
    QColor muted;                 // secondary lines: the entered distance, the top of the pile, the screen
    QColor labelPaper;            // the box behind a label, nearly opaque
    QColor labelEdge;             // the box's border
    QColor ground;                // the plan's ground outside the computed levels
    QColor limit;                 // the limit and the distance where it is reached
    std::array<QColor, 5> series; // one per assessment height

    // Black on white, as on paper.
    static ChartColours Paper();
    // The palette's text on its base colour; series and limit lighter on a dark base.
    static ChartColours FromPalette(const QPalette &palette);
};

// The contrast ratio of two colours (1 to 21), as the accessibility guidelines define it.
double ContrastRatio(const QColor &a, const QColor &b);

// Saves the painter's state and restores it on every way out of the scope.
class PainterState
{
public:
    explicit PainterState(QPainter &painter);
    ~PainterState();
    PainterState(const PainterState &) = delete;
    PainterState &operator=(const PainterState &) = delete;

private:
    QPainter &m_painter;
};

// The views' text size and their titles' (points).
constexpr double kTextPointSize = 9;
constexpr double kTitlePointSize = 11;

// The views' fonts, made from the painter's font.
QFont TextFont(const QFont &base);
QFont TitleFont(const QFont &base);

// The start of drawing a view on `area`: saves the painter (restored when the scope
// ends), smooths lines, fills the area with the paper colour and sets the text font.
class ViewScope
{
public:
    ViewScope(QPainter &painter, const QRectF &area, const ChartColours &colours);

    const QFont &font() const { return m_font; }

private:
    PainterState m_state;
    QFont m_font;
};

// Pixels of the device per pixel of a 96 dpi screen: pens and gaps scale with it.
double DeviceUnit(const QPainter &painter);
double DeviceUnit(const QPaintDevice *device);

enum class Marker { None, Circle, Square, Triangle, Diamond, Cross };

void DrawMarker(QPainter &painter, const QPointF &centre, Marker marker, double size);

// The size of a label's box: its text with a little padding.
QSizeF LabelSize(const QFontMetricsF &metrics, double unit, const QString &text);
// A box of `size` anchored at `anchor` by `alignment`.
QRectF AlignedBox(const QPointF &anchor, const QSizeF &size, Qt::Alignment alignment);
// The box of a label's text (with its padding) anchored at `anchor` by `alignment`.
QRectF LabelBox(const QFontMetricsF &metrics, double unit, const QPointF &anchor, const QString &text,
                Qt::Alignment alignment);
QRectF LabelBox(const QPainter &painter, const QPointF &anchor, const QString &text, Qt::Alignment alignment);
// Draws text in a box of the label colours. DrawLabel anchors it and gives the box.
void DrawLabelIn(QPainter &painter, const QRectF &box, const QString &text, const ChartColours &colours);
QRectF DrawLabel(QPainter &painter, const QPointF &anchor, const QString &text, Qt::Alignment alignment,
                 const ChartColours &colours);

// Tick step of an axis: a round figure giving about `ticks` intervals.
double TickStep(double span, int ticks);
QString TickText(double value, double step, const QLocale &locale);

} // namespace plot
