#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMainWindow;
class QMenu;

namespace platform {
class MessageBox;
}

namespace explore {

class Autosave;
class CaseDocument;

// The case as a file in the window: "Nieuw", "Openen…", "Opslaan", "Opslaan als…" and the
// cases opened last, the window's title with its change marker, the question before
// unsaved changes are lost, the autosave and, at the start, the offer of an autosave that
// a crashed or killed window left behind.
class CaseCommands : public QObject
{
    Q_OBJECT

public:
    // How many cases "Recent geopend" remembers.
    static constexpr int kRecentCount = 8;
    // The file type in dialogs, and the name's ending.
    static const QString kFilter;
    static const QString kSuffix;

    CaseCommands(QMainWindow *window, CaseDocument *document, platform::MessageBox *messages);
    ~CaseCommands() override;

    // Adds the commands to the top of `file`, and "Ongedaan maken" and "Opnieuw" to `edit`.
    void addTo(QMenu *file, QMenu *edit);
    QAction *newAction() const { return m_new; }
    QAction *openAction() const { return m_open; }
    QAction *saveAction() const { return m_save; }
    QAction *saveAsAction() const { return m_saveAs; }
    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    QMenu *recentMenu() const { return m_recent; }
    Autosave *autosave() const { return m_autosave; }

    // At the start: offers an autosave that a window left behind, then opens `path` from
    // the command line (when not empty).
    void startUp(const QString &path);

    // Each returns whether it was done; a refusal has been told in a message box.
    bool newCase();
    bool openCase(const QString &path);
    bool save();
    bool saveAs();
    // Asks what to do with unsaved changes before they would be lost; true when the
    // window may go on (saved, or the user chose to drop them).
    bool maySetAside();
    // The window closes: true when it may (the autosave then goes too).
    bool mayClose();

    // The cases opened last, newest first, as the settings keep them.
    static QStringList recentCases();

    // How the commands ask for a file to open and a name to save under; tests put their
    // own in place of the dialogs.
    using OpenChooser = std::function<QString(const QString &caption, const QString &folder)>;
    using SaveChooser = std::function<QString(const QString &caption, const QString &name)>;
    void setOpenChooser(OpenChooser chooser) { m_chooseOpen = std::move(chooser); }
    void setSaveChooser(SaveChooser chooser) { m_chooseSave = std::move(chooser); }

signals:
    // A short word for the status bar ("Opgeslagen: …").
    void status(const QString &text);

private:
    void updateTitle();
    void fillRecent();
    void remember(const QString &path);
    void offerOrphans();
    void tell(const QString &error);
    QString suggestedName() const;
    QString startFolder() const;

    QMainWindow *m_window;
    CaseDocument *m_document;
    platform::MessageBox *m_messages;
    Autosave *m_autosave;
    QAction *m_new = nullptr;
    QAction *m_open = nullptr;
    QAction *m_save = nullptr;
    QAction *m_saveAs = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QMenu *m_recent = nullptr;
    OpenChooser m_chooseOpen;
    SaveChooser m_chooseSave;
};

} // namespace explore
