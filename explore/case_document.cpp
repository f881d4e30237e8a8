#include "case_document.h"

#include "case_file_io.h"
#include "case_mapping.h"

#include <QFileInfo>
#include <QUndoStack>

#include <algorithm>
#include <utility>

namespace explore {
namespace {

// The site object of the file as read, or null.
nlohmann::ordered_json siteObjectOf(const casefile::Case &value)
{
    const auto site = value.document.find("site");
    return site != value.document.end() ? *site : nlohmann::ordered_json();
}

} // namespace

// One step on the undo stack: the parts of the case it changed, before and after.
class CaseDocument::Edit : public QUndoCommand
{
public:
    Edit(CaseDocument &document, int parts, casefile::Case after, const QString &text, int mergeKey)
        : QUndoCommand(text)
        , m_document(document)
        , m_parts(parts)
        , m_mergeKey(mergeKey)
    {
        m_before = snapshot(document.m_case);
        m_after = snapshot(after);
    }

    int id() const override { return m_mergeKey >= 0 ? 0x57474c : -1; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const Edit *>(other);
        if (next->m_mergeKey != m_mergeKey || next->m_parts != m_parts)
            return false;
        // The step keeps the name of its start: a width typed, whatever the rules moved with it.
        m_after = next->m_after;
        // Typed and typed back: no step at all.
        setObsolete(same(m_before, m_after));
        return true;
    }

    void undo() override { apply(m_before); }
    void redo() override { apply(m_after); }

    bool changesNothing() const { return same(m_before, m_after); }

private:
    // The parts this edit keeps of a case; the rest of the snapshot stays empty.
    casefile::Case snapshot(const casefile::Case &from) const
    {
        casefile::Case part;
        if (m_parts & CalculationPart)
            part.calculation = from.calculation;
        if (m_parts & MetaPart)
            part.meta = from.meta;
        if (m_parts & SitePart) {
            part.hasSite = from.hasSite;
            part.site = from.site;
            part.document = nlohmann::ordered_json::object();
            if (const nlohmann::ordered_json site = siteObjectOf(from); !site.is_null())
                part.document["site"] = site;
        }
        return part;
    }

    bool same(const casefile::Case &a, const casefile::Case &b) const
    {
        if ((m_parts & CalculationPart) && !SameCalculation(a.calculation, b.calculation))
            return false;
        if ((m_parts & MetaPart) && !SameMeta(a.meta, b.meta))
            return false;
        return !(m_parts & SitePart)
            || (a.hasSite == b.hasSite && SameSite(a.site, b.site) && siteObjectOf(a) == siteObjectOf(b));
    }

    void apply(const casefile::Case &state)
    {
        casefile::Case value = m_document.m_case;
        if (m_parts & CalculationPart)
            value.calculation = state.calculation;
        if (m_parts & MetaPart)
            value.meta = state.meta;
        if (m_parts & SitePart) {
            value.hasSite = state.hasSite;
            value.site = state.site;
            value.document.erase("site");
            if (const nlohmann::ordered_json site = siteObjectOf(state); !site.is_null())
                value.document["site"] = site;
        }
        m_document.take(value, m_parts);
    }

    CaseDocument &m_document;
    int m_parts;
    int m_mergeKey;
    casefile::Case m_before;
    casefile::Case m_after;
};

CaseDocument::CaseDocument(QObject *parent)
    : QObject(parent)
    , m_undo(new QUndoStack(this))
{
    connect(m_undo, &QUndoStack::cleanChanged, this, &CaseDocument::emitModified);
}

CaseDocument::~CaseDocument()
{
    // A stack cleared on the way out is no change of the case: the autosave must not take it
    // for one and drop its copy.
    m_undo->blockSignals(true);
    delete m_undo;
}

QString CaseDocument::displayName() const
{
    return m_path.isEmpty() ? QStringLiteral("Naamloos") : QFileInfo(m_path).fileName();
}

bool CaseDocument::isModified() const
{
    return m_restored || !m_undo->isClean();
}

void CaseDocument::push(Edit *edit)
{
    if (edit->changesNothing()) {
        delete edit;
        return;
    }
    m_undo->push(edit);
}

void CaseDocument::setCalculation(const casefile::Calculation &calculation, const QString &text, int mergeKey)
{
    casefile::Case after = m_case;
    after.calculation = calculation;
    push(new Edit(*this, CalculationPart, std::move(after), text, mergeKey));
}

void CaseDocument::setMeta(const casefile::Meta &meta, const QString &text)
{
    casefile::Case after = m_case;
    after.meta = meta;
    push(new Edit(*this, MetaPart, std::move(after), text, -1));
}

void CaseDocument::setSite(const engine::Site &site, const QString &text, int mergeKey)
{
    casefile::Case after = m_case;
    after.hasSite = true;
    after.site = site;
    push(new Edit(*this, SitePart, std::move(after), text, mergeKey));
}

void CaseDocument::removeStorage(int index, const QString &text)
{
    if (index < 0 || size_t(index) >= m_case.site.storages.size())
        return;
    casefile::Case after = m_case;
    casefile::RemoveStorage(after, size_t(index));
    push(new Edit(*this, SitePart, std::move(after), text, -1));
}

void CaseDocument::removeReceiver(int index, const QString &text)
{
    if (index < 0 || size_t(index) >= m_case.site.receivers.size())
        return;
    casefile::Case after = m_case;
    casefile::RemoveReceiver(after, size_t(index));
    push(new Edit(*this, SitePart, std::move(after), text, -1));
}

nlohmann::ordered_json CaseDocument::siteExtra(const std::string &key) const
{
    const nlohmann::ordered_json site = siteObjectOf(m_case);
    if (!site.is_object())
        return nullptr;
    const auto found = site.find(key);
    return found != site.end() ? *found : nlohmann::ordered_json();
}

void CaseDocument::setSiteExtra(const std::string &key, const nlohmann::ordered_json &value,
                                const QString &text)
{
    casefile::Case after = m_case;
    nlohmann::ordered_json &site = after.document["site"];
    if (!site.is_object())
        site = nlohmann::ordered_json::object();
    if (value.is_null())
        site.erase(key);
    else
        site[key] = value;
    push(new Edit(*this, SitePart, std::move(after), text, -1));
}

// Puts the parts in place and tells the views; called by the edits, forward and back.
void CaseDocument::take(const casefile::Case &value, int parts)
{
    m_case = value;
    if (parts & CalculationPart)
        emit calculationChanged();
    if (parts & MetaPart)
        emit metaChanged();
    if (parts & SitePart)
        emit siteChanged();
}

void CaseDocument::replace(const casefile::Case &value, const QString &path)
{
    m_undo->clear();
    m_case = value;
    setPath(path);
    emit replaced();
    take(value, CalculationPart | MetaPart | SitePart);
}

void CaseDocument::reset()
{
    m_restored = false;
    replace(casefile::Case(), QString());
    emitModified();
}

bool CaseDocument::open(const QString &path, QString *error)
{
    casefile::Case value;
    if (!ReadCaseFile(path, value, error))
        return false;
    load(value, path);
    return true;
}

void CaseDocument::load(const casefile::Case &value, const QString &path)
{
    casefile::Case loaded = value;
    if (m_readFilter)
        m_readFilter(loaded, path);
    m_restored = false;
    replace(loaded, QFileInfo(path).absoluteFilePath());
    emitModified();
}

std::string CaseDocument::textFor(const QString &path) const
{
    casefile::Case copy = m_case;
    if (m_writeFilter)
        m_writeFilter(copy, path);
    return casefile::WriteCase(copy);
}

bool CaseDocument::save(const QString &path, QString *error)
{
    if (!WriteCaseFile(path, textFor(path), error))
        return false;
    m_restored = false;
    setPath(QFileInfo(path).absoluteFilePath());
    m_undo->setClean();
    emitModified();
    return true;
}

void CaseDocument::restore(const casefile::Case &value, const QString &path)
{
    casefile::Case restored = value;
    if (m_readFilter && !path.isEmpty())
        m_readFilter(restored, path);
    m_restored = true;
    replace(restored, path);
    emitModified();
}

void CaseDocument::setPath(const QString &path)
{
    if (path == m_path)
        return;
    m_path = path;
    emit pathChanged();
}

void CaseDocument::emitModified()
{
    const bool modified = isModified();
    if (modified == m_lastModified)
        return;
    m_lastModified = modified;
    emit modifiedChanged(modified);
}

} // namespace explore
