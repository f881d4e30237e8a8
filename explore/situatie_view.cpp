#include "situatie_view.h"

#include "situatie_geometry.h"

#include "situatie_texts.h"

#include "chart_style.h"

#include <QContextMenuEvent>
#include <QGestureEvent>
#include <QMenu>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPinchGesture>
#include <QWheelEvent>

#include <cmath>

namespace explore {
namespace {

constexpr double kDragThreshold = 3;    // pixels before a press becomes a drag
constexpr double kWheelStep = 1.2;      // zoom per notch of the wheel
constexpr double kSmallestScale = 1e-4; // pixels per metre
constexpr double kLargestScale = 2000;

} // namespace

using namespace situatie;

SituatieView::SituatieView(SituatieModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_AcceptTouchEvents);
    grabGesture(Qt::PinchGesture);
    setMinimumSize(120, 80);
    m_viewport.scale = 4;
    connect(m_model, &SituatieModel::changed, this, qOverload<>(&QWidget::update));
    connect(m_model, &SituatieModel::selectionChanged, this, qOverload<>(&QWidget::update));
}

double SituatieView::unit() const
{
    return plot::DeviceUnit(this);
}

void SituatieView::setResult(std::shared_ptr<const SituatieResult> result)
{
    m_result = std::move(result);
    if (!m_fitted && m_result && m_result->hasMap)
        fitToSite();
    update();
}

void SituatieView::setUnderlayContent(std::shared_ptr<const UnderlayContent> content)
{
    m_underlay = std::move(content);
    update();
}

void SituatieView::setTool(SituatieTool tool)
{
    m_drawing.clear();
    m_placement.clear();
    if (m_tool != tool) {
        m_tool = tool;
        emit toolChanged(tool);
    }
    setCursor(tool == SituatieTool::Select ? Qt::ArrowCursor : Qt::CrossCursor);
    update();
}

void SituatieView::fitTo(const QRectF &site)
{
    const SituatieViewport fitted = SituatieViewport::fit(QRectF(rect()), site);
    m_viewport.centre = fitted.centre;
    m_viewport.scale = std::clamp(fitted.scale, kSmallestScale, kLargestScale);
    m_fitted = true;
    update();
}

void SituatieView::fitToSite()
{
    const QRectF bounds = SituatieBounds(m_model->shown(), m_result.get(), m_underlay.get());
    if (!bounds.isNull())
        fitTo(bounds);
}

void SituatieView::zoomAt(const QPointF &device, double factor)
{
    const engine::SitePoint fixed = m_viewport.toSite(device);
    m_viewport.scale = std::clamp(m_viewport.scale * factor, kSmallestScale, kLargestScale);
    const engine::SitePoint moved = m_viewport.toSite(device);
    m_viewport.centre.x += fixed.x - moved.x;
    m_viewport.centre.y += fixed.y - moved.y;
    m_fitted = true;
    update();
}

void SituatieView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_viewport.area = QRectF(rect());
}

void SituatieView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_viewport.area = QRectF(rect());
    const plot::ChartColours colours = plot::ChartColours::FromPalette(palette());
    const SituatieState &state = m_model->shown();
    SituatieScene scene;
    scene.state = &state;
    // A map of an earlier site stays under a dragged storage until the new one comes.
    scene.result = m_result.get();
    scene.underlay = m_underlay.get();
    scene.selection = m_model->selection();
    scene.handles = m_tool == SituatieTool::Select;
    PaintSituatie(painter, m_viewport, scene, locale(), colours);

    const double u = unit();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!state.hasSite) {
        painter.setPen(colours.ink);
        painter.drawText(
            rect().adjusted(int(40 * u), 0, int(-40 * u), 0), Qt::AlignCenter | Qt::TextWordWrap,
            QStringLiteral("Deze zaak heeft nog geen situatie. Kies „Situatie beginnen” om de opslag "
                           "van de berekening op een situatie te zetten; daarna kunt u opslagen, "
                           "de perceelgrens, ontvangers en een onderlegger toevoegen."));
    }
    if (!m_drawing.empty()) {
        QPolygonF line;
        for (engine::SitePoint p : m_drawing)
            line << m_viewport.toDevice(p);
        line << m_cursor;
        painter.setPen(QPen(QColor(0, 120, 215), 2.5 * u, Qt::DashLine));
        painter.drawPolyline(line);
    }
    painter.setPen(QPen(QColor(215, 25, 25), 2 * u));
    for (std::size_t i = 0; i < m_placement.size() && state.underlay.present; ++i) {
        const QPointF at = m_viewport.toDevice(state.underlay.placement.siteOf(m_placement[i]));
        painter.drawLine(at - QPointF(8 * u, 0), at + QPointF(8 * u, 0));
        painter.drawLine(at - QPointF(0, 8 * u), at + QPointF(0, 8 * u));
        painter.drawText(at + QPointF(6 * u, -6 * u), QString::number(i + 1));
    }
}

SituatieView::Hit SituatieView::hitAt(const QPointF &device) const
{
    const SituatieState &state = m_model->shown();
    const engine::Site &site = state.site;
    const double reach = kPickDistance * unit();
    const Selection selected = m_model->selection();
    Hit hit;
    if (!state.hasSite)
        return hit;
    if (selected.kind == SelectionKind::Boundary) {
        const auto &polyline = site.boundary[std::size_t(selected.index)];
        for (std::size_t i = 0; i < polyline.size(); ++i) {
            const QPointF p = m_viewport.toDevice(polyline[i]);
            if (std::hypot(p.x() - device.x(), p.y() - device.y()) <= reach)
                return {SelectionKind::Boundary, selected.index, int(i), false};
        }
    }
    if (selected.kind == SelectionKind::Storage && m_tool == SituatieTool::Select) {
        const QPointF handle = RotationHandle(m_viewport, site.storages[std::size_t(selected.index)], unit());
        if (std::hypot(handle.x() - device.x(), handle.y() - device.y()) <= reach)
            return {SelectionKind::Storage, selected.index, -1, true};
    }
    for (std::size_t i = site.receivers.size(); i-- > 0;) {
        const QPointF p = m_viewport.toDevice(site.receivers[i].at);
        if (std::hypot(p.x() - device.x(), p.y() - device.y()) <= reach)
            return {SelectionKind::Receiver, int(i), -1, false};
    }
    for (std::size_t i = site.storages.size(); i-- > 0;) {
        QPolygonF polygon;
        for (engine::SitePoint corner : engine::StorageCorners(site.storages[i]))
            polygon << m_viewport.toDevice(corner);
        if (polygon.containsPoint(device, Qt::OddEvenFill))
            return {SelectionKind::Storage, int(i), -1, false};
    }
    for (std::size_t k = 0; k < site.boundary.size(); ++k) {
        const auto &polyline = site.boundary[k];
        for (std::size_t i = 1; i < polyline.size(); ++i) {
            if (DistanceToSegment(device, m_viewport.toDevice(polyline[i - 1]),
                                  m_viewport.toDevice(polyline[i]))
                <= reach)
                return {SelectionKind::Boundary, int(k), -1, false};
        }
    }
    return hit;
}

void SituatieView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QPointF at = event->position();
    m_pressed = at;
    m_last = at;
    m_moved = false;
    if (event->button() == Qt::MiddleButton) {
        m_drag = Drag::Pan;
        m_centreBefore = m_viewport.centre;
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    switch (m_tool) {
    case SituatieTool::Select: {
        const Hit hit = hitAt(at);
        m_model->setSelection({hit.kind, hit.index});
        startDrag(hit, at);
        break;
    }
    case SituatieTool::AddStorage:
    case SituatieTool::AddReceiver:
        addAt(at);
        break;
    case SituatieTool::DrawBoundary:
        m_drawing.push_back(Rounded(m_viewport.toSite(at)));
        update();
        break;
    case SituatieTool::PickBoundary:
        pickBoundary(at);
        break;
    case SituatieTool::PlaceUnderlay:
        placePoint(at);
        break;
    }
}

void SituatieView::startDrag(const Hit &hit, const QPointF &)
{
    m_dragged = hit;
    m_before = m_model->committed();
    m_centreBefore = m_viewport.centre;
    if (hit.kind == SelectionKind::None)
        m_drag = Drag::Pan;
    else if (hit.kind == SelectionKind::Storage)
        m_drag = hit.handle ? Drag::Rotate : Drag::Storage;
    else if (hit.kind == SelectionKind::Receiver)
        m_drag = Drag::Receiver;
    else if (hit.vertex >= 0)
        m_drag = Drag::Vertex;
    else
        m_drag = Drag::None;
}

void SituatieView::dragTo(const QPointF &device, Qt::KeyboardModifiers modifiers)
{
    const QPointF shift = device - m_pressed;
    if (m_drag == Drag::Pan) {
        m_viewport.centre = {m_centreBefore.x - shift.x() / m_viewport.scale,
                             m_centreBefore.y + shift.y() / m_viewport.scale};
        update();
        return;
    }
    SituatieState next = m_before;
    engine::Site &site = next.site;
    const double dx = shift.x() / m_viewport.scale;
    const double dy = -shift.y() / m_viewport.scale;
    const auto index = std::size_t(m_dragged.index);
    switch (m_drag) {
    case Drag::Storage: {
        engine::SiteStorage &storage = site.storages[index];
        storage.corner = Rounded(
            {m_before.site.storages[index].corner.x + dx, m_before.site.storages[index].corner.y + dy});
        break;
    }
    case Drag::Rotate: {
        engine::SiteStorage &storage = site.storages[index];
        const engine::SitePoint centre = StorageCentre(m_before.site.storages[index]);
        const engine::SitePoint mouse = m_viewport.toSite(device);
        // The handle stands beyond face 3, a quarter turn from the storage's own direction.
        double angle = std::atan2(mouse.y - centre.y, mouse.x - centre.x) / kDegree - 90;
        const double step = modifiers & Qt::ShiftModifier ? 15 : 1;
        angle = std::round(angle / step) * step;
        while (angle <= -180)
            angle += 360;
        while (angle > 180)
            angle -= 360;
        storage.rotation = angle;
        storage.corner = Rounded(CornerFor(storage, centre, angle));
        break;
    }
    case Drag::Receiver: {
        const engine::SitePoint from = m_before.site.receivers[index].at;
        site.receivers[index].at = Rounded({from.x + dx, from.y + dy});
        break;
    }
    case Drag::Vertex: {
        const engine::SitePoint from = m_before.site.boundary[index][std::size_t(m_dragged.vertex)];
        site.boundary[index][std::size_t(m_dragged.vertex)] = Rounded({from.x + dx, from.y + dy});
        break;
    }
    default:
        return;
    }
    m_model->preview(next);
}

void SituatieView::finishDrag()
{
    const Drag drag = m_drag;
    m_drag = Drag::None;
    if (!m_model->previewing())
        return;
    QString text;
    switch (drag) {
    case Drag::Storage:
        text = QStringLiteral("Opslag verplaatsen");
        break;
    case Drag::Rotate:
        text = QStringLiteral("Opslag draaien");
        break;
    case Drag::Receiver:
        text = QStringLiteral("Ontvanger verplaatsen");
        break;
    default:
        text = QStringLiteral("Grenspunt verplaatsen");
        break;
    }
    const QString refusal = m_model->commit(text);
    if (!refusal.isEmpty())
        emit refused(QStringLiteral("Niet verplaatst: %1").arg(refusal));
}

void SituatieView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    m_cursor = at;
    if (m_drag != Drag::None) {
        const QPointF moved = at - m_pressed;
        if (!m_moved && std::hypot(moved.x(), moved.y()) < kDragThreshold * unit())
            return;
        m_moved = true;
        dragTo(at, event->modifiers());
        m_last = at;
        return;
    }
    if (!m_drawing.empty())
        update();
    updateCursor(at);
    const SituatieState &state = m_model->shown();
    if (state.hasSite)
        emit hovered(LevelUnderCursor(state.site, m_viewport.toSite(at), locale()));
}

void SituatieView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag == Drag::None)
        return;
    if (m_moved && m_drag != Drag::Pan)
        dragTo(event->position(), event->modifiers());
    if (m_drag == Drag::Pan)
        m_drag = Drag::None;
    else
        finishDrag();
}

void SituatieView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_tool == SituatieTool::DrawBoundary && event->button() == Qt::LeftButton) {
        finishBoundary();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void SituatieView::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    zoomAt(event->position(), std::pow(kWheelStep, notches));
    event->accept();
}

bool SituatieView::event(QEvent *event)
{
    if (event->type() == QEvent::Gesture)
        return handleGesture(static_cast<QGestureEvent *>(event));
    if (event->type() == QEvent::NativeGesture) {
        auto *gesture = static_cast<QNativeGestureEvent *>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            zoomAt(gesture->position(), 1 + gesture->value());
            return true;
        }
    }
    return QWidget::event(event);
}

bool SituatieView::handleGesture(QGestureEvent *event)
{
    auto *pinch = static_cast<QPinchGesture *>(event->gesture(Qt::PinchGesture));
    if (!pinch)
        return false;
    if (pinch->changeFlags() & QPinchGesture::ScaleFactorChanged)
        zoomAt(mapFromGlobal(pinch->centerPoint()), pinch->scaleFactor());
    event->accept(pinch);
    return true;
}

void SituatieView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (m_tool == SituatieTool::DrawBoundary && !m_drawing.empty()) {
            m_drawing.pop_back();
            update();
        } else if (!deleteSelection()) {
            QWidget::keyPressEvent(event);
        }
        return;
    case Qt::Key_Escape:
        if (m_drag != Drag::None) {
            m_drag = Drag::None;
            m_viewport.centre = m_centreBefore;
            m_model->cancelPreview();
        } else if (m_tool != SituatieTool::Select) {
            setTool(SituatieTool::Select);
        } else {
            m_model->setSelection({});
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_tool == SituatieTool::DrawBoundary)
            finishBoundary();
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomAt(QRectF(rect()).center(), kWheelStep);
        return;
    case Qt::Key_Minus:
        zoomAt(QRectF(rect()).center(), 1 / kWheelStep);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SituatieView::leaveEvent(QEvent *event)
{
    emit hovered(QString());
    QWidget::leaveEvent(event);
}

void SituatieView::contextMenuEvent(QContextMenuEvent *event)
{
    const Hit hit = hitAt(event->pos());
    QMenu menu(this);
    if (hit.kind != SelectionKind::None) {
        m_model->setSelection({hit.kind, hit.index});
        connect(menu.addAction(QStringLiteral("&Verwijderen")), &QAction::triggered, this,
                [this] { deleteSelection(); });
    }
    connect(menu.addAction(QStringLiteral("&Passend")), &QAction::triggered, this, &SituatieView::fitToSite);
    menu.exec(event->globalPos());
}

void SituatieView::updateCursor(const QPointF &device)
{
    if (m_tool != SituatieTool::Select)
        return;
    const Hit hit = hitAt(device);
    if (hit.handle)
        setCursor(Qt::CrossCursor);
    else if (hit.kind == SelectionKind::None)
        setCursor(Qt::OpenHandCursor);
    else if (hit.kind == SelectionKind::Boundary && hit.vertex < 0)
        setCursor(Qt::PointingHandCursor);
    else
        setCursor(Qt::SizeAllCursor);
}

} // namespace explore
