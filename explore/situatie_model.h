#pragma once

#include "case_document.h"
#include "underlay_file.h"

#include "site.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoStack>

namespace explore {

// What the Situatie edits: the case's site (when it has one) and the drawing under it.
struct SituatieState
{
    bool hasSite = false;
    engine::Site site;
    Underlay underlay;
};

bool operator==(const SituatieState &a, const SituatieState &b);
inline bool operator!=(const SituatieState &a, const SituatieState &b)
{
    return !(a == b);
}

// The site the case file would refuse, and why (the case module's Dutch line); empty for
// a site it takes. Every edit is held to it, so that what is shown can always be saved.
QString SiteRefusal(const engine::Site &site);

// A new site made from the calculation of the classic window: its storage as "Opslag A"
// with face 1 to the south and the corner at (0, 0), its screen in front of face 1, and
// the calculation's heights, limit and envelope.
engine::Site SiteFromCalculation(const engine::CalculationInput &input, double limitKw, bool envelope);

enum class SelectionKind { None, Storage, Receiver, Boundary };

struct Selection
{
    SelectionKind kind = SelectionKind::None;
    int index = -1;
    bool operator==(const Selection &other) const { return kind == other.kind && index == other.index; }
    bool operator!=(const Selection &other) const { return !(*this == other); }
};

// The Situatie's side of the case: the state the case holds (`committed`), a state shown
// while the mouse drags (`shown`, the same when nothing is dragged), and the selection.
// With the window's CaseDocument every edit becomes the document's own (its site, or its
// site's `underlay` key), one step on its undo stack; on its own (a test, a tab without a
// window) the model keeps the state itself and an undo stack of its own, each step
// holding the state before and after it. Either way undo and redo restore both exactly.
class SituatieModel : public QObject
{
    Q_OBJECT

public:
    explicit SituatieModel(QObject *parent = nullptr);

    // Edits go to `document` from now on, and the state follows it.
    void setDocument(CaseDocument *document);
    CaseDocument *document() const { return m_document; }
    QUndoStack *undoStack() const;
    // What was wrong with the case's `underlay` key, as the case module would say it; empty
    // when it is well formed or absent.
    QString underlayError() const { return m_underlayError; }

    const SituatieState &committed() const { return m_committed; }
    const SituatieState &shown() const { return m_previewing ? m_preview : m_committed; }
    bool previewing() const { return m_previewing; }

    // A state of a case just opened or made: no undo step.
    void reset(const SituatieState &state);

    // Pushes an edit named `text` ("Opslag verplaatsen"); an edit that changes nothing
    // is left out. Returns the Dutch refusal for a site the case could not hold, in which
    // case nothing changes. Edits with the same `mergeId` (≥ 0) on the same object follow
    // each other into one undo step, as typing digits into one field does.
    QString edit(const QString &text, const SituatieState &next, int mergeId = -1);

    // A state shown while the mouse drags; commit() makes it an edit, cancelPreview()
    // drops it.
    void preview(const SituatieState &state);
    QString commit(const QString &text);
    void cancelPreview();

    // Removes a storage or a receiver; with the document, the file's own keys of it go too,
    // so that those of the ones after it stay with them.
    QString removeStorage(int index, const QString &text);
    QString removeReceiver(int index, const QString &text);

    Selection selection() const { return m_selection; }
    void setSelection(Selection selection);

    // Used by the undo commands.
    void apply(const SituatieState &state);

signals:
    // Another case took the document's place.
    void replaced();
    // The shown state changed: an edit, an undo or redo, a preview, a reset.
    void changed();
    // The committed state changed by an edit, an undo or a redo: the case is modified.
    void edited();
    void selectionChanged();

private:
    void keepSelectionValid();
    void takeDocument();

    QPointer<CaseDocument> m_document;
    QUndoStack *m_ownStack = nullptr;
    QString m_underlayError;
    SituatieState m_committed;
    SituatieState m_preview;
    bool m_previewing = false;
    Selection m_selection;
};

} // namespace explore
