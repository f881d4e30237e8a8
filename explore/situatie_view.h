#pragma once

#include "situatie_painter.h"

#include <QWidget>

#include <memory>
#include <vector>

class QGestureEvent;

namespace explore {

// What a press of the left button does on the Situatie.
enum class SituatieTool {
    Select,        // select, drag to move, the handle to rotate; on empty ground: pan
    AddStorage,    // a new storage with its corner P1 where clicked
    AddReceiver,   // a new receiver where clicked
    DrawBoundary,  // a boundary polyline point by point; double-click or Enter ends it
    PickBoundary,  // a line of the vector underlay becomes a boundary polyline
    PlaceUnderlay, // two points on the raster or PDF underlay, then their distance or coordinates
};

// The Situatie on the screen: the site drawn by PaintSituatie in the palette's colours,
// zoomed with the wheel, a pinch or "Passend", panned by dragging empty ground (or with the
// middle button), and edited with the mouse through the model: every finished drag is one
// undo step. While a storage or receiver is dragged the model shows it where the mouse is,
// and the map follows.
class SituatieView : public QWidget
{
    Q_OBJECT

public:
    explicit SituatieView(SituatieModel *model, QWidget *parent = nullptr);

    void setResult(std::shared_ptr<const SituatieResult> result);
    std::shared_ptr<const SituatieResult> result() const { return m_result; }
    void setUnderlayContent(std::shared_ptr<const UnderlayContent> content);
    std::shared_ptr<const UnderlayContent> underlayContent() const { return m_underlay; }

    SituatieTool tool() const { return m_tool; }
    void setTool(SituatieTool tool);

    const SituatieViewport &viewport() const { return m_viewport; }
    // Shows `site` (a site rectangle) whole; fitToSite() shows what "Passend" shows.
    void fitTo(const QRectF &site);
    void fitToSite();
    // Fits the site when its first map comes (a case just opened).
    void fitWhenComputed() { m_fitted = false; }
    // Zooms by `factor` keeping the site point under `device` in its place.
    void zoomAt(const QPointF &device, double factor);

    // The default sizes of a storage added with the mouse.
    void setNewStorage(const engine::SiteStorage &storage) { m_newStorage = storage; }

    // Deletes the selected object; false when nothing is selected.
    bool deleteSelection();

signals:
    void hovered(const QString &text);
    // An edit the case could not hold, or a click that did nothing, told in Dutch.
    void refused(const QString &reason);
    // Two points of the underlay were clicked, in the drawing's units.
    void placementPointsChosen(const QPointF &first, const QPointF &second);
    void toolChanged(explore::SituatieTool tool);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    enum class Drag { None, Pan, Storage, Rotate, Receiver, Vertex };

    struct Hit
    {
        SelectionKind kind = SelectionKind::None;
        int index = -1;
        int vertex = -1; // of a boundary polyline
        bool handle = false;
    };

    Hit hitAt(const QPointF &device) const;
    void startDrag(const Hit &hit, const QPointF &device);
    void dragTo(const QPointF &device, Qt::KeyboardModifiers modifiers);
    void finishDrag();
    void addAt(const QPointF &device);
    void finishBoundary();
    void pickBoundary(const QPointF &device);
    void placePoint(const QPointF &device);
    bool handleGesture(QGestureEvent *event);
    void edit(const QString &text, const SituatieState &next);
    void updateCursor(const QPointF &device);
    double unit() const;

    SituatieModel *m_model;
    std::shared_ptr<const SituatieResult> m_result;
    std::shared_ptr<const UnderlayContent> m_underlay;
    SituatieViewport m_viewport;
    bool m_fitted = false;
    SituatieTool m_tool = SituatieTool::Select;
    engine::SiteStorage m_newStorage;

    Drag m_drag = Drag::None;
    Hit m_dragged;
    QPointF m_pressed;
    QPointF m_last;
    bool m_moved = false;
    SituatieState m_before; // the state the drag started from
    engine::SitePoint m_centreBefore;

    std::vector<engine::SitePoint> m_drawing; // the boundary polyline being drawn
    std::vector<QPointF> m_placement;         // the underlay points clicked so far
    QPointF m_cursor;
};

} // namespace explore
