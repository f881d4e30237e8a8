#pragma once

#include "case_file.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QLockFile;
class QTimer;

namespace explore {

class CaseDocument;

// A copy of the unsaved case beside the program's settings, so that a crash or a kill
// loses at most the last interval of edits. Each window keeps its own copy, held by a
// lock file for as long as the window lives; a copy whose lock is gone or stale (its
// process ended without closing the window) is an orphan, which the next start offers
// back. The copy disappears when the case is saved, its changes are undone, or the
// window closes with the user's answer.
class Autosave : public QObject
{
    Q_OBJECT

public:
    // The longest a change stays unsaved while the window runs.
    static constexpr int kIntervalMs = 10000;

    explicit Autosave(CaseDocument *document, QObject *parent = nullptr);
    ~Autosave() override;

    // Where the copies lie: the program's data folder (XDG_DATA_HOME and the program's
    // name), beside its settings.
    static QString folder();
    // This window's copy; it exists only while there are unsaved changes.
    QString file() const;
    void setInterval(int milliseconds);

    // Writes the copy now (or removes it when nothing is unsaved). False with the reason
    // when it could not be written.
    bool writeNow(QString *error = nullptr);
    // Removes this window's copy: the user has answered for its changes.
    void discard();

    // A copy left by a window that did not close.
    struct Orphan
    {
        QString file;
        QString casePath; // the file the case belonged to; empty for a new case
        QDateTime written;
        casefile::Case value;
        QString error; // why the copy cannot be used, empty when it can
    };
    // Claims the orphans (a running window's copy is never one), newest first. A claimed
    // orphan is offered to no other window; release it with forget() once it is dealt with.
    std::vector<Orphan> claimOrphans();
    void forget(const Orphan &orphan);

signals:
    // A copy could not be written; the message names the file and the reason.
    void failed(const QString &error);

private:
    void changed();
    bool takeLock();

    CaseDocument *m_document;
    QTimer *m_timer;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    std::vector<std::unique_ptr<QLockFile>> m_claimed;
    QString m_lastError;
};

} // namespace explore
