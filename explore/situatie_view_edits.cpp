// The Situatie's edits by the mouse: adding storages and receivers, drawing and picking
// boundary lines, the two points of an underlay's placement, deleting.

#include "situatie_geometry.h"
#include "situatie_view.h"

namespace explore {

using namespace situatie;

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
    const engine::SitePoint at = Rounded(m_viewport.toSite(device));
    if (m_tool == SituatieTool::AddStorage) {
        engine::SiteStorage storage = m_newStorage;
        storage.name = FreeStorageName(next.site);
        storage.corner = at;
        next.site.storages.push_back(storage);
        edit(QStringLiteral("Opslag toevoegen"), next);
        if (m_model->committed() == next)
            m_model->setSelection({SelectionKind::Storage, int(next.site.storages.size()) - 1});
    } else {
        next.site.receivers.push_back({FreeReceiverName(next.site), at});
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
            const double d = DistanceToSegment(device, m_viewport.toDevice(line.points[i - 1]),
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
