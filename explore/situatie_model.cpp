#include "situatie_model.h"

#include "case_file.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace explore {
namespace {

bool samePoint(engine::SitePoint a, engine::SitePoint b)
{
    return a.x == b.x && a.y == b.y;
}

bool sameStorage(const engine::SiteStorage &a, const engine::SiteStorage &b)
{
    if (a.name != b.name || a.indoor != b.indoor || a.compact != b.compact || !samePoint(a.corner, b.corner)
        || a.rotation != b.rotation || a.width != b.width || a.depth != b.depth || a.height != b.height
        || a.screens.size() != b.screens.size())
        return false;
    for (std::size_t i = 0; i < a.screens.size(); ++i) {
        const engine::FaceScreen &s = a.screens[i];
        const engine::FaceScreen &t = b.screens[i];
        if (s.face != t.face || s.hs != t.hs || s.xs != t.xs || s.K != t.K)
            return false;
    }
    return true;
}

// One edit of the Situatie: the whole state before and after it. A site is small (a few
// storages, a boundary of some hundreds of points), so a copy is simpler and safer than
// an edit-by-edit inverse.
class SituatieCommand : public QUndoCommand
{
public:
    SituatieCommand(SituatieModel *model, const QString &text, SituatieState before, SituatieState after,
                    int mergeId, Selection object)
        : QUndoCommand(text)
        , m_model(model)
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_mergeId(mergeId)
        , m_object(object)
    { }

    void undo() override
    {
        if (m_model)
            m_model->apply(m_before);
    }
    void redo() override
    {
        if (m_model)
            m_model->apply(m_after);
    }
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const SituatieCommand *>(other);
        if (next->m_model != m_model || next->m_object != m_object)
            return false;
        m_after = next->m_after;
        setObsolete(m_after == m_before);
        return true;
    }

private:
    QPointer<SituatieModel> m_model;
    SituatieState m_before;
    SituatieState m_after;
    int m_mergeId;
    Selection m_object;
};

} // namespace

bool SameSite(const engine::Site &a, const engine::Site &b)
{
    if (a.heights != b.heights || a.limit != b.limit || a.envelope != b.envelope
        || a.storages.size() != b.storages.size() || a.boundary.size() != b.boundary.size()
        || a.receivers.size() != b.receivers.size())
        return false;
    for (std::size_t i = 0; i < a.storages.size(); ++i) {
        if (!sameStorage(a.storages[i], b.storages[i]))
            return false;
    }
    for (std::size_t i = 0; i < a.boundary.size(); ++i) {
        if (a.boundary[i].size() != b.boundary[i].size())
            return false;
        for (std::size_t j = 0; j < a.boundary[i].size(); ++j) {
            if (!samePoint(a.boundary[i][j], b.boundary[i][j]))
                return false;
        }
    }
    for (std::size_t i = 0; i < a.receivers.size(); ++i) {
        if (a.receivers[i].name != b.receivers[i].name || !samePoint(a.receivers[i].at, b.receivers[i].at))
            return false;
    }
    return true;
}

bool operator==(const SituatieState &a, const SituatieState &b)
{
    return a.hasSite == b.hasSite && a.underlay == b.underlay && (!a.hasSite || SameSite(a.site, b.site));
}

QString SiteRefusal(const engine::Site &site)
{
    casefile::Case probe;
    probe.hasSite = true;
    probe.site = site;
    const casefile::ReadResult read = casefile::ReadCase(casefile::WriteCase(probe), ',');
    return read.ok ? QString() : QString::fromStdString(read.error);
}

engine::Site SiteFromCalculation(const engine::CalculationInput &input, double limitKw, bool envelope)
{
    engine::Site site;
    site.heights = input.heights;
    site.limit = limitKw;
    site.envelope = envelope;
    engine::SiteStorage storage;
    storage.name = "Opslag A";
    storage.indoor = input.indoor;
    storage.compact = input.compact;
    storage.width = input.B;
    storage.depth = input.D;
    storage.height = input.H;
    if (input.screen && !input.indoor)
        storage.screens.push_back({1, input.hs, input.xs, input.K});
    site.storages.push_back(storage);
    return site;
}

SituatieModel::SituatieModel(QObject *parent)
    : QObject(parent)
{
    m_ownStack = new QUndoStack(this);
    m_stack = m_ownStack;
}

void SituatieModel::setUndoStack(QUndoStack *stack)
{
    m_stack = stack ? stack : m_ownStack;
}

void SituatieModel::reset(const SituatieState &state)
{
    m_previewing = false;
    m_committed = state;
    keepSelectionValid();
    emit changed();
}

QString SituatieModel::edit(const QString &text, const SituatieState &next, int mergeId)
{
    if (next.hasSite) {
        const QString refusal = SiteRefusal(next.site);
        if (!refusal.isEmpty())
            return refusal;
    }
    if (next == m_committed) {
        if (m_previewing)
            cancelPreview();
        return {};
    }
    m_previewing = false;
    m_stack->push(new SituatieCommand(this, text, m_committed, next, mergeId, m_selection));
    return {};
}

void SituatieModel::preview(const SituatieState &state)
{
    m_preview = state;
    m_previewing = true;
    emit changed();
}

QString SituatieModel::commit(const QString &text)
{
    if (!m_previewing)
        return {};
    const SituatieState next = m_preview;
    const QString refusal = edit(text, next);
    if (!refusal.isEmpty())
        cancelPreview();
    return refusal;
}

void SituatieModel::cancelPreview()
{
    if (!m_previewing)
        return;
    m_previewing = false;
    emit changed();
}

void SituatieModel::setSelection(Selection selection)
{
    if (selection == m_selection)
        return;
    m_selection = selection;
    keepSelectionValid();
    emit selectionChanged();
}

void SituatieModel::apply(const SituatieState &state)
{
    m_previewing = false;
    m_committed = state;
    const Selection before = m_selection;
    keepSelectionValid();
    emit changed();
    emit edited();
    if (before != m_selection)
        emit selectionChanged();
}

void SituatieModel::keepSelectionValid()
{
    const engine::Site &site = m_committed.site;
    std::size_t count = 0;
    switch (m_selection.kind) {
    case SelectionKind::Storage:
        count = site.storages.size();
        break;
    case SelectionKind::Receiver:
        count = site.receivers.size();
        break;
    case SelectionKind::Boundary:
        count = site.boundary.size();
        break;
    case SelectionKind::None:
        return;
    }
    if (!m_committed.hasSite || m_selection.index < 0 || std::size_t(m_selection.index) >= count)
        m_selection = Selection();
}

} // namespace explore
