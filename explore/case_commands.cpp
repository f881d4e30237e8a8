#include "case_commands.h"

#include "autosave.h"
#include "case_document.h"
#include "case_file_io.h"

#include "message_box.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUndoStack>

namespace explore {

const QString CaseCommands::kFilter = QStringLiteral("Zaak voor Warmtegloedvracht (*.warmtegloed)");
const QString CaseCommands::kSuffix = QStringLiteral(".warmtegloed");

namespace {

const QString kProgram = QStringLiteral("Warmtegloed – Verkenning");
const QString kRecentKey = QStringLiteral("recenteZaken");

enum class Answer { First, Second, Third };

// A question with buttons of its own words: the first is the default, the last is what
// Escape and the window's close button choose.
Answer ask(QWidget *owner, const QString &text, const QString &detail, const QStringList &buttons)
{
    QMessageBox box(QMessageBox::Question, kProgram, text, QMessageBox::NoButton, owner);
    box.setInformativeText(detail);
    QList<QAbstractButton *> added;
    const QMessageBox::ButtonRole roles[] = {QMessageBox::AcceptRole, QMessageBox::DestructiveRole,
                                             QMessageBox::RejectRole};
    for (int i = 0; i < buttons.size(); ++i) {
        const QMessageBox::ButtonRole role = i + 1 == buttons.size() ? QMessageBox::RejectRole : roles[i];
        added << box.addButton(buttons[i], role);
    }
    box.setDefaultButton(static_cast<QPushButton *>(added.front()));
    box.setEscapeButton(added.back());
    box.exec();
    const int chosen = int(added.indexOf(box.clickedButton()));
    return chosen < 0 ? Answer(buttons.size() - 1) : Answer(chosen);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

CaseCommands::CaseCommands(QMainWindow *window, CaseDocument *document, platform::MessageBox *messages)
    : QObject(window)
    , m_window(window)
    , m_document(document)
    , m_messages(messages)
    , m_autosave(new Autosave(document, this))
{
    m_chooseOpen = [this](const QString &caption, const QString &folder) {
        return QFileDialog::getOpenFileName(m_window, caption, folder, kFilter);
    };
    m_chooseSave = [this](const QString &caption, const QString &name) {
        QFileDialog dialog(m_window, caption, name, kFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(kSuffix.mid(1));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    connect(m_document, &CaseDocument::pathChanged, this, &CaseCommands::updateTitle);
    connect(m_document, &CaseDocument::modifiedChanged, this, &CaseCommands::updateTitle);
    connect(m_autosave, &Autosave::failed, this, &CaseCommands::status);
    updateTitle();
}

CaseCommands::~CaseCommands() = default;

void CaseCommands::addTo(QMenu *file, QMenu *edit)
{
    QAction *first = file->actions().value(0);
    auto add = [&](const QString &text, const QKeySequence &keys, auto slot) {
        auto *action = new QAction(text, file);
        action->setShortcut(keys);
        file->insertAction(first, action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_new = add(QStringLiteral("&Nieuw"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newCase(); });
    m_open = add(QStringLiteral("&Openen…"), QKeySequence(Qt::CTRL | Qt::Key_O), [this] {
        const QString path = m_chooseOpen(QStringLiteral("Zaak openen"), startFolder());
        if (!path.isEmpty())
            openCase(path);
    });
    m_recent = new QMenu(QStringLiteral("&Recent geopend"), file);
    file->insertMenu(first, m_recent);
    connect(m_recent, &QMenu::aboutToShow, this, &CaseCommands::fillRecent);
    fillRecent();
    file->insertSeparator(first);
    m_save = add(QStringLiteral("Op&slaan"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); });
    m_saveAs = add(QStringLiteral("Opslaan a&ls…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                   [this] { saveAs(); });
    file->insertSeparator(first);

    // The step to undo or redo stands in the menu: "Ongedaan maken: Breedte opslag (B) wijzigen".
    QUndoStack *stack = m_document->undoStack();
    m_undo = new QAction(edit);
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = new QAction(edit);
    m_redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    auto name = [stack, this] {
        const auto label = [](const QString &verb, const QString &step) {
            return step.isEmpty()
                ? verb
                : verb + QStringLiteral(": ") + QString(step).replace(QLatin1Char('&'), QStringLiteral("&&"));
        };
        m_undo->setText(label(QStringLiteral("&Ongedaan maken"), stack->undoText()));
        m_undo->setEnabled(stack->canUndo());
        m_redo->setText(label(QStringLiteral("Op&nieuw"), stack->redoText()));
        m_redo->setEnabled(stack->canRedo());
    };
    connect(stack, &QUndoStack::indexChanged, this, name);
    connect(stack, &QUndoStack::cleanChanged, this, name);
    connect(m_undo, &QAction::triggered, stack, &QUndoStack::undo);
    connect(m_redo, &QAction::triggered, stack, &QUndoStack::redo);
    name();
    edit->addAction(m_undo);
    edit->addAction(m_redo);
}

void CaseCommands::updateTitle()
{
    m_window->setWindowTitle(QStringLiteral("%1[*] – %2").arg(m_document->displayName(), kProgram));
    m_window->setWindowModified(m_document->isModified());
    m_window->setWindowFilePath(m_document->path());
}

QStringList CaseCommands::recentCases()
{
    return QSettings().value(kRecentKey).toStringList().mid(0, kRecentCount);
}

void CaseCommands::remember(const QString &path)
{
    QStringList recent = recentCases();
    recent.removeAll(path);
    recent.prepend(path);
    QSettings().setValue(kRecentKey, recent.mid(0, kRecentCount));
    fillRecent();
}

void CaseCommands::fillRecent()
{
    m_recent->clear();
    const QStringList recent = recentCases();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction *action = m_recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
        action->setToolTip(shown(path));
        action->setStatusTip(shown(path));
        connect(action, &QAction::triggered, this, [this, path] { openCase(path); });
    }
    m_recent->setToolTipsVisible(true);
    m_recent->setEnabled(!recent.isEmpty());
}

// Where "Openen…" and "Opslaan als…" begin: beside the case, else beside the last one.
QString CaseCommands::startFolder() const
{
    const QString latest = m_document->path().isEmpty() ? recentCases().value(0) : m_document->path();
    if (!latest.isEmpty() && QFileInfo(latest).absoluteDir().exists())
        return QFileInfo(latest).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

// A new case is named after its title where it has one.
QString CaseCommands::suggestedName() const
{
    if (!m_document->path().isEmpty())
        return m_document->path();
    QString name = QString::fromStdString(m_document->meta().title).simplified();
    name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("-"));
    if (name.isEmpty())
        name = QStringLiteral("zaak");
    return QDir(startFolder()).filePath(name + kSuffix);
}

void CaseCommands::tell(const QString &error)
{
    m_window->statusBar()->showMessage(error);
    m_messages->MsgBox(error, platform::vbOKOnly + platform::vbExclamation, kProgram);
}

bool CaseCommands::maySetAside()
{
    if (!m_document->isModified())
        return true;
    const Answer answer =
        ask(m_window, QStringLiteral("Wilt u de wijzigingen in „%1” opslaan?").arg(m_document->displayName()),
            QStringLiteral("Zonder opslaan gaan ze verloren."),
            {QStringLiteral("&Opslaan"), QStringLiteral("&Niet opslaan"), QStringLiteral("Annuleren")});
    if (answer == Answer::First)
        return save();
    return answer == Answer::Second;
}

bool CaseCommands::mayClose()
{
    if (!maySetAside())
        return false;
    m_autosave->discard();
    return true;
}

bool CaseCommands::newCase()
{
    if (!maySetAside())
        return false;
    m_autosave->discard();
    m_document->reset();
    return true;
}

bool CaseCommands::openCase(const QString &path)
{
    // A file that cannot be used is said at once, and the window keeps what it has.
    casefile::Case value;
    QString error;
    if (!ReadCaseFile(path, value, &error)) {
        tell(error);
        return false;
    }
    if (!maySetAside())
        return false;
    m_autosave->discard();
    m_document->load(value, path);
    remember(m_document->path());
    emit status(QStringLiteral("Geopend: %1").arg(shown(m_document->path())));
    return true;
}

bool CaseCommands::save()
{
    if (m_document->path().isEmpty())
        return saveAs();
    QString error;
    if (!m_document->save(m_document->path(), &error)) {
        tell(error);
        return false;
    }
    emit status(QStringLiteral("Opgeslagen: %1").arg(shown(m_document->path())));
    return true;
}

bool CaseCommands::saveAs()
{
    QString path = m_chooseSave(QStringLiteral("Zaak opslaan als"), suggestedName());
    if (path.isEmpty())
        return false;
    if (!path.endsWith(kSuffix, Qt::CaseInsensitive) && QFileInfo(path).suffix().isEmpty())
        path += kSuffix;
    QString error;
    if (!m_document->save(path, &error)) {
        tell(error);
        return false;
    }
    remember(m_document->path());
    emit status(QStringLiteral("Opgeslagen: %1").arg(shown(m_document->path())));
    return true;
}

void CaseCommands::startUp(const QString &path)
{
    offerOrphans();
    if (!path.isEmpty())
        openCase(QFileInfo(path).absoluteFilePath());
}

// The newest copy first; after one is restored the others wait for the next start.
void CaseCommands::offerOrphans()
{
    const std::vector<Autosave::Orphan> orphans = m_autosave->claimOrphans();
    for (const Autosave::Orphan &orphan : orphans) {
        const QString name =
            orphan.casePath.isEmpty() ? QStringLiteral("Naamloos") : QFileInfo(orphan.casePath).fileName();
        if (!orphan.error.isEmpty()) {
            tell(QStringLiteral("De automatische kopie van „%1” kan niet worden hersteld: %2")
                     .arg(name, orphan.error));
            m_autosave->forget(orphan);
            continue;
        }
        const QString when = QLocale(QLocale::Dutch, QLocale::Netherlands)
                                 .toString(orphan.written, QStringLiteral("d MMMM yyyy 'om' HH:mm"));
        const Answer answer = ask(
            m_window,
            QStringLiteral("De zaak „%1” is niet goed afgesloten. Er is een automatische kopie van %2 met "
                           "wijzigingen die niet zijn opgeslagen.")
                .arg(name, when),
            QStringLiteral(
                "Wilt u die wijzigingen terugzetten? „Later” bewaart de kopie tot de volgende start."),
            {QStringLiteral("&Herstellen"), QStringLiteral("&Weggooien"), QStringLiteral("&Later")});
        if (answer == Answer::Third)
            return;
        if (answer == Answer::First) {
            m_document->restore(orphan.value, orphan.casePath);
            // Kept again at once, under this window's own name, before the old copy goes.
            m_autosave->writeNow();
        }
        m_autosave->forget(orphan);
        if (answer == Answer::First)
            return;
    }
}

} // namespace explore
