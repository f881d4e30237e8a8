#pragma once

#include "case_file.h"

#include <QObject>
#include <QString>

#include <functional>

class QUndoStack;

namespace explore {

// The case the exploration window holds as its document: one casefile::Case, the file
// it belongs to, and every change to it as a step on one undo stack, so that "Ongedaan
// maken" takes back an input, a detail of the case or an edit of the site alike. The
// views read it and change it only through the functions below; each change emits the
// signal of the part it changed, also when it comes from undo, redo, "Nieuw" or "Openen".
//
// The document is modified when it differs from its file (or, for a new case, from the
// empty case): after any change that has not been saved or undone, and after a case is
// restored from an autosave.
class CaseDocument : public QObject
{
    Q_OBJECT

public:
    explicit CaseDocument(QObject *parent = nullptr);
    ~CaseDocument() override;

    // The whole case as it would be saved now.
    const casefile::Case &value() const { return m_case; }
    QUndoStack *undoStack() const { return m_undo; }

    // The file the case was read from or last saved to; empty for a new case.
    QString path() const { return m_path; }
    // The file's name ("zaak.warmtegloed"), or "Naamloos" for a new case.
    QString displayName() const;
    bool isModified() const;

    // --- The parts, and their edits. Each edit is one step on the undo stack, named by
    // `text` ("Opslag verplaatsen"); consecutive edits with the same `mergeKey` of 0 or more
    // become one step (the keystrokes of one entry, the moves of one drag). An edit that
    // changes nothing pushes nothing.

    const casefile::Calculation &calculation() const { return m_case.calculation; }
    void setCalculation(const casefile::Calculation &calculation, const QString &text, int mergeKey = -1);

    const casefile::Meta &meta() const { return m_case.meta; }
    void setMeta(const casefile::Meta &meta, const QString &text);

    // The site. A case without one has hasSite() false and an empty site(); the first
    // setSite() gives it one.
    bool hasSite() const { return m_case.hasSite; }
    const engine::Site &site() const { return m_case.site; }
    void setSite(const engine::Site &site, const QString &text, int mergeKey = -1);
    // Removes a storage (a receiver) together with the file's own keys of it, so that the
    // keys of the ones after it stay with them.
    void removeStorage(int index, const QString &text);
    void removeReceiver(int index, const QString &text);
    // A key of the site object that the case module itself does not read (such as the
    // drawing underneath the site): null when it is not there. Setting null removes it.
    nlohmann::ordered_json siteExtra(const std::string &key) const;
    void setSiteExtra(const std::string &key, const nlohmann::ordered_json &value, const QString &text);

    // --- Files. Each returns false and, in `error`, one Dutch line that names the file and
    // the reason when it did not succeed; the document is then as it was.

    // An empty case with the classic window's defaults, no file, not modified, no history.
    void reset();
    // Reads `path` and takes it (load), or leaves the document as it was.
    bool open(const QString &path, QString *error);
    // Takes a case read from `path` (passed through the read filter): not modified, no history.
    void load(const casefile::Case &value, const QString &path);
    // Writes the case to `path` (through SafeFile) and makes that its file. A case that
    // would not read back (a site without storages, a value out of range) is not written.
    bool save(const QString &path, QString *error);
    // Takes a case restored from an autosave: its file is `path` (may be empty), and it
    // stays modified until it is saved.
    void restore(const casefile::Case &value, const QString &path);

    // Paths inside the case (the underlay's drawing) are kept in memory as the views like
    // them and written relative to the file: the write filter gets the copy that is about
    // to be written to `path` (the case's own file for an autosave), the read filter the
    // case just read from `path`, before the document takes it.
    using Filter = std::function<void(casefile::Case &value, const QString &path)>;
    void setWriteFilter(Filter filter) { m_writeFilter = std::move(filter); }
    void setReadFilter(Filter filter) { m_readFilter = std::move(filter); }
    // The case's text as save() would write it to `path`.
    std::string textFor(const QString &path) const;

signals:
    void calculationChanged();
    void metaChanged();
    // The site, its presence or one of its extra keys changed.
    void siteChanged();
    // A different case took the document's place (Nieuw, Openen, restored): views drop
    // their selection and zoom to fit. Followed by the three signals above.
    void replaced();
    void pathChanged();
    void modifiedChanged(bool modified);

private:
    class Edit;
    friend class Edit;
    enum Part { CalculationPart = 1, MetaPart = 2, SitePart = 4 };
    void push(Edit *edit);
    void take(const casefile::Case &value, int parts);
    void replace(const casefile::Case &value, const QString &path);
    void setPath(const QString &path);
    void emitModified();

    casefile::Case m_case;
    QString m_path;
    QUndoStack *m_undo = nullptr;
    bool m_restored = false; // modified whatever the undo stack says, until saved
    bool m_lastModified = false;
    Filter m_writeFilter;
    Filter m_readFilter;
};

} // namespace explore
