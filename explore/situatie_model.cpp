#include "situatie_model.h"

#include "case_document.h"
#include "case_file.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace explore {
namespace {

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

namespace {

// The underlay's key as the document keeps it: the path absolute, the other keys of the
// object as they were.
nlohmann::ordered_json UnderlayKey(const Underlay &underlay, const nlohmann::ordered_json &before)
{
    nlohmann::ordered_json site = nlohmann::ordered_json::object();
    if (!before.is_null())
        site["underlay"] = before;
    WriteUnderlay(site, underlay, QString());
    const auto found = site.find("underlay");
    return found != site.end() ? *found : nlohmann::ordered_json();
}

} // namespace

SituatieModel::SituatieModel(QObject *parent)
    : QObject(parent)
{
    m_ownStack = new QUndoStack(this);
}

QUndoStack *SituatieModel::undoStack() const
{
    return m_document ? m_document->undoStack() : m_ownStack;
}

void SituatieModel::setDocument(CaseDocument *document)
{
    m_document = document;
    if (!document)
        return;
    connect(document, &CaseDocument::siteChanged, this, &SituatieModel::takeDocument);
    connect(document, &CaseDocument::replaced, this, [this] {
        m_previewing = false;
        setSelection({});
        emit replaced();
    });
    takeDocument();
}

// The document's site and underlay, after any change of them (an edit, undo, redo, a case
// opened).
void SituatieModel::takeDocument()
{
    SituatieState state;
    state.hasSite = m_document->hasSite();
    if (state.hasSite)
        state.site = m_document->site();
    m_underlayError.clear();
    nlohmann::ordered_json site = nlohmann::ordered_json::object();
    if (const nlohmann::ordered_json key = m_document->siteExtra("underlay"); !key.is_null())
        site["underlay"] = key;
    if (!ReadUnderlay(site, QString(), state.underlay, m_underlayError))
        state.underlay = Underlay();
    m_previewing = false;
    m_committed = state;
    const Selection before = m_selection;
    keepSelectionValid();
    emit changed();
    emit edited();
    if (before != m_selection)
        emit selectionChanged();
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
    if (!m_document) {
        m_ownStack->push(new SituatieCommand(this, text, m_committed, next, mergeId, m_selection));
        return {};
    }
    const bool site = next.hasSite != m_committed.hasSite || !SameSite(next.site, m_committed.site);
    const bool underlay = next.underlay != m_committed.underlay;
    QUndoStack *stack = m_document->undoStack();
    if (site && underlay)
        stack->beginMacro(text);
    if (site && next.hasSite)
        m_document->setSite(next.site, text, mergeId);
    if (underlay)
        m_document->setSiteExtra("underlay", UnderlayKey(next.underlay, m_document->siteExtra("underlay")),
                                 text);
    if (site && underlay)
        stack->endMacro();
    if (m_committed != next)
        emit changed(); // what the document refused to take is shown as it is again
    return {};
}

QString SituatieModel::removeStorage(int index, const QString &text)
{
    SituatieState next = m_committed;
    if (index < 0 || index >= int(next.site.storages.size()))
        return {};
    next.site.storages.erase(next.site.storages.begin() + index);
    if (const QString refusal = SiteRefusal(next.site); !refusal.isEmpty())
        return refusal;
    if (!m_document)
        return edit(text, next);
    m_document->removeStorage(index, text);
    return {};
}

QString SituatieModel::removeReceiver(int index, const QString &text)
{
    SituatieState next = m_committed;
    if (index < 0 || index >= int(next.site.receivers.size()))
        return {};
    next.site.receivers.erase(next.site.receivers.begin() + index);
    if (!m_document)
        return edit(text, next);
    m_document->removeReceiver(index, text);
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
