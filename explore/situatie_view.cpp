#include "situatie_view.h"

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

constexpr double kPickDistance = 7;     // pixels of a 96 dpi screen
constexpr double kDragThreshold = 3;    // pixels before a press becomes a drag
constexpr double kWheelStep = 1.2;      // zoom per notch of the wheel
constexpr double kSmallestScale = 1e-4; // pixels per metre
constexpr double kLargestScale = 2000;
constexpr double kDegree = 3.14159265358979323846 / 180;

double distanceToSegment(const QPointF &p, const QPointF &a, const QPointF &b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF nearest = a + ab * t;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

// Positions in the case to the centimetre: what the mouse gives finer than that is noise.
double centimetres(double metres)
{
    return std::round(metres * 100) / 100;
}

engine::SitePoint rounded(engine::SitePoint p)
{
    return {centimetres(p.x), centimetres(p.y)};
}

// The first of "Opslag A", "Opslag B", … (or "Ontvanger 1", …) that the site does not use.
std::string freeStorageName(const engine::Site &site)
{
    for (int n = 0;; ++n) {
        std::string name = "Opslag ";
        if (n >= 26)
            name += char('A' + n / 26 - 1);
        name += char('A' + n % 26);
        const bool used = std::any_of(site.storages.begin(), site.storages.end(),
                                      [&](const engine::SiteStorage &s) { return s.name == name; });
        if (!used)
            return name;
    }
}

std::string freeReceiverName(const engine::Site &site)
{
    for (std::size_t n = site.receivers.size() + 1;; ++n) {
        const std::string name = "Ontvanger " + std::to_string(n);
        const bool used = std::any_of(site.receivers.begin(), site.receivers.end(),
                                      [&](const engine::SiteReceiver &r) { return r.name == name; });
        if (!used)
            return name;
    }
}

engine::SitePoint storageCentre(const engine::SiteStorage &storage)
{
    const auto corners = engine::StorageCorners(storage);
    return {(corners[0].x + corners[2].x) / 2, (corners[0].y + corners[2].y) / 2};
}

// The corner P1 that puts the storage's centre at `centre` when it is turned by `rotation`.
engine::SitePoint cornerFor(const engine::SiteStorage &storage, engine::SitePoint centre, double rotation)
{
    const double c = std::cos(rotation * kDegree);
    const double s = std::sin(rotation * kDegree);
    const double w = storage.width / 2;
    const double d = storage.depth / 2;
    return {centre.x - (c * w - s * d), centre.y - (s * w + c * d)};
}

} // namespace

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
            if (distanceToSegment(device, m_viewport.toDevice(polyline[i - 1]),
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
        m_drawing.push_back(rounded(m_viewport.toSite(at)));
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
        storage.corner = rounded(
            {m_before.site.storages[index].corner.x + dx, m_before.site.storages[index].corner.y + dy});
        break;
    }
    case Drag::Rotate: {
        engine::SiteStorage &storage = site.storages[index];
        const engine::SitePoint centre = storageCentre(m_before.site.storages[index]);
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
        storage.corner = rounded(cornerFor(storage, centre, angle));
        break;
    }
    case Drag::Receiver: {
        const engine::SitePoint from = m_before.site.receivers[index].at;
        site.receivers[index].at = rounded({from.x + dx, from.y + dy});
        break;
    }
    case Drag::Vertex: {
        const engine::SitePoint from = m_before.site.boundary[index][std::size_t(m_dragged.vertex)];
        site.boundary[index][std::size_t(m_dragged.vertex)] = rounded({from.x + dx, from.y + dy});
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

void SituatieView::edit(const QString &text, const SituatieState &next)
{
    const QString refusal = m_model->edit(text, next);
    if (!refusal.isEmpty())
        emit refused(QStringLiteral("%1 kan niet: %2").arg(text, refusal));
}

void SituatieView::addAt(const QPointF &device)
{
    SituatieState next = m_model->committed();
    if (!next.hasSite)
        return;
    const engine::SitePoint at = rounded(m_viewport.toSite(device));
    if (m_tool == SituatieTool::AddStorage) {
        engine::SiteStorage storage = m_newStorage;
        storage.name = freeStorageName(next.site);
        storage.corner = at;
        next.site.storages.push_back(storage);
        edit(QStringLiteral("Opslag toevoegen"), next);
        if (m_model->committed() == next)
            m_model->setSelection({SelectionKind::Storage, int(next.site.storages.size()) - 1});
    } else {
        next.site.receivers.push_back({freeReceiverName(next.site), at});
        edit(QStringLiteral("Ontvanger toevoegen"), next);
        if (m_model->committed() == next)
            m_model->setSelection({SelectionKind::Receiver, int(next.site.receivers.size()) - 1});
    }
}

void SituatieView::finishBoundary()
{
    // A double-click also pressed twice at its spot: those presses add one point each.
    while (m_drawing.size() > 1) {
        const engine::SitePoint &a = m_drawing[m_drawing.size() - 1];
        const engine::SitePoint &b = m_drawing[m_drawing.size() - 2];
        if (a.x != b.x || a.y != b.y)
            break;
        m_drawing.pop_back();
    }
    if (m_drawing.size() < 2) {
        emit refused(QStringLiteral("Een perceelgrens heeft minstens twee punten; klik ze een voor een en "
                                    "dubbelklik op het laatste."));
        return;
    }
    SituatieState next = m_model->committed();
    next.site.boundary.push_back(m_drawing);
    m_drawing.clear();
    edit(QStringLiteral("Perceelgrens tekenen"), next);
    if (m_model->committed() == next)
        m_model->setSelection({SelectionKind::Boundary, int(next.site.boundary.size()) - 1});
    update();
}

void SituatieView::pickBoundary(const QPointF &device)
{
    if (!m_underlay || m_underlay->kind != UnderlayKind::Vector) {
        emit refused(QStringLiteral("Grenzen kiezen kan alleen uit een vectortekening (DXF, GeoJSON, "
                                    "GeoPackage of Shapefile) als onderlegger."));
        return;
    }
    const double reach = kPickDistance * unit();
    const gis::DrawingLine *nearest = nullptr;
    double best = reach;
    for (const gis::DrawingLine &line : m_underlay->drawing.lines) {
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            const double d = distanceToSegment(device, m_viewport.toDevice(line.points[i - 1]),
                                               m_viewport.toDevice(line.points[i]));
            if (d <= best) {
                best = d;
                nearest = &line;
            }
        }
    }
    if (!nearest) {
        emit refused(QStringLiteral("Hier ligt geen lijn van de tekening; klik op een lijn."));
        return;
    }
    SituatieState next = m_model->committed();
    next.site.boundary.push_back(nearest->points);
    edit(QStringLiteral("Perceelgrens uit tekening"), next);
    if (m_model->committed() == next)
        m_model->setSelection({SelectionKind::Boundary, int(next.site.boundary.size()) - 1});
}

void SituatieView::placePoint(const QPointF &device)
{
    const Underlay &underlay = m_model->committed().underlay;
    if (!underlay.present || underlay.kind == UnderlayKind::Vector) {
        setTool(SituatieTool::Select);
        return;
    }
    m_placement.push_back(underlay.placement.drawingOf(m_viewport.toSite(device)));
    update();
    if (m_placement.size() < 2)
        return;
    const QPointF first = m_placement[0];
    const QPointF second = m_placement[1];
    setTool(SituatieTool::Select);
    emit placementPointsChosen(first, second);
}

bool SituatieView::deleteSelection()
{
    const Selection selected = m_model->selection();
    if (selected.kind == SelectionKind::None)
        return false;
    const SituatieState &state = m_model->committed();
    if (selected.kind == SelectionKind::Storage && state.site.storages.size() == 1) {
        emit refused(QStringLiteral("De laatste opslag van de situatie kan niet worden verwijderd; een "
                                    "situatie heeft minstens één opslag."));
        return true;
    }
    m_model->setSelection({});
    QString text;
    QString refusal;
    if (selected.kind == SelectionKind::Storage) {
        text = QStringLiteral("Opslag verwijderen");
        refusal = m_model->removeStorage(selected.index, text);
    } else if (selected.kind == SelectionKind::Receiver) {
        text = QStringLiteral("Ontvanger verwijderen");
        refusal = m_model->removeReceiver(selected.index, text);
    } else {
        SituatieState next = state;
        next.site.boundary.erase(next.site.boundary.begin() + selected.index);
        text = QStringLiteral("Perceelgrens verwijderen");
        refusal = m_model->edit(text, next);
    }
    if (!refusal.isEmpty())
        emit refused(QStringLiteral("%1 kan niet: %2").arg(text, refusal));
    return true;
}

} // namespace explore
