#include "explore_window.h"

#include "answers_panel.h"
#include "case_commands.h"
#include "case_dialog.h"
#include "case_document.h"
#include "case_mapping.h"
#include "exploration_report.h"
#include "exports.h"
#include "help_shell.h"
#include "inputs_panel.h"
#include "situatie_tab.h"
#include "view_widgets.h"

#include "help_command.h"
#include "linux_shell.h"
#include "message_box.h"
#include "qt_message_box.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace explore {
namespace {

constexpr QSize kExportSize(1200, 900);
// The window's size where the screen has room for it; never more than this part of it.
constexpr QSize kPreferredSize(1280, 720);
constexpr double kLargestScreenPart = 0.9;
constexpr double kLargestInputsPart = 0.5;
// How long an export or print waits for the answers of the input just typed.
constexpr int kAnswerWaitMs = 30000;

const QString kTitle = QStringLiteral("Warmtegloed – Verkenning");

// The plan's exact numbers follow its picture within a fraction of a second.
const QString kPlanNumbersPending =
    QStringLiteral("De getallen van de plattegrond worden nog berekend; een ogenblik geduld.");

const QString kCsvForSpreadsheets =
    QStringLiteral("CSV voor een spreadsheet (puntkomma, decimale komma) (*.csv)");
const QString kCsvForScripts = QStringLiteral("CSV voor scripts (komma, decimale punt) (*.csv)");

bool sameInput(const ExplorationInput &a, const ExplorationInput &b)
{
    const engine::CalculationInput &s = a.storage;
    const engine::CalculationInput &t = b.storage;
    return s.B == t.B && s.D == t.D && s.H == t.H && s.x == t.x && s.y == t.y && s.hs == t.hs && s.xs == t.xs
        && s.K == t.K && s.heights == t.heights && s.indoor == t.indoor && s.compact == t.compact
        && s.screen == t.screen && a.limitKw == b.limitKw && a.envelope == b.envelope;
}

} // namespace

ExploreWindow::ExploreWindow(const ExploreServices &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.svg")));
    useDesktop();
    m_runner = new ExplorationRunner(this);
    m_document = new CaseDocument(this);
    m_commands = new CaseCommands(this, m_document, m_services.messageBox);

    m_inputs = new InputsPanel;
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_inputs);
    scroll->setWidgetResizable(true);
    // The scroll area is a frame around the inputs, not a stop of its own for Tab.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setMinimumWidth(fontMetrics().averageCharWidth() * 30);

    auto *splitter = new QSplitter;
    splitter->addWidget(scroll);
    splitter->addWidget(buildViews());
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);

    m_hover = new QLabel;
    statusBar()->addPermanentWidget(m_hover);
    buildMenus();
    // A field's own keys (Ctrl+E moves to its end) give way to the window's commands.
    for (QLineEdit *edit : m_inputs->findChildren<QLineEdit *>())
        edit->installEventFilter(this);

    connect(m_inputs, &InputsPanel::inputChanged, this, &ExploreWindow::inputChanged);
    // An entry finished (after the panel's own rules) ends its step on the undo stack.
    for (Field field = Field::Width; int(field) < kFieldCount; field = Field(int(field) + 1))
        connect(m_inputs->edit(field), &QLineEdit::editingFinished, this, [this] { ++m_entry; });
    connect(m_document, &CaseDocument::calculationChanged, this, &ExploreWindow::showDocumentInput);
    connect(m_commands, &CaseCommands::status, this,
            [this](const QString &text) { statusBar()->showMessage(text, 8000); });
    connect(m_runner, &ExplorationRunner::updated, this, &ExploreWindow::showExploration);
    connect(m_runner, &ExplorationRunner::finished, this, [this] {
        m_answers->showBusy(false);
        if (m_inputs->valid())
            statusBar()->showMessage(QStringLiteral("Bijgewerkt."), 2000);
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, &ExploreWindow::tabChanged);
    connect(m_views[size_t(ViewKind::Plan)], &ViewWidget::hovered, m_hover, &QLabel::setText);
    m_situatie->useDocument(m_document);
    connect(m_situatie, &SituatieTab::hovered, m_hover, &QLabel::setText);
    connect(m_situatie, &SituatieTab::told, this, &ExploreWindow::tell);

    fitToScreen();
    m_inputs->edit(Field::Width)->setFocus();
    tabChanged(0);
    inputChanged();
}

ExploreWindow::~ExploreWindow()
{
    // A field that loses its focus as the window is hidden and its children go says its
    // entry is finished: this window is no longer there to hear it.
    m_inputs->disconnect(this);
    for (QLineEdit *edit : m_inputs->findChildren<QLineEdit *>())
        edit->disconnect(this);
}

// The desktop's shell, message box and dialogs where the caller gave none.
void ExploreWindow::useDesktop()
{
    if (!m_services.shell) {
        m_ownShell = std::make_unique<platform::LinuxShell>();
        m_services.shell = m_ownShell.get();
    }
    if (!m_services.messageBox) {
        m_ownMessageBox = std::make_unique<platform::QtMessageBox>(this);
        m_services.messageBox = m_ownMessageBox.get();
    }
    m_chooseFile = [this](const QString &caption, const QString &name, const QStringList &filters,
                          QString *chosenFilter) {
        return QFileDialog::getSaveFileName(this, caption, name, filters.join(QStringLiteral(";;")),
                                            chosenFilter);
    };
    m_choosePrinter = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("Verkenningsrapport afdrukken"));
        return dialog.exec() == QDialog::Accepted;
    };
}

QWidget *ExploreWindow::buildViews()
{
    m_answers = new AnswersPanel;
    m_tabs = new QTabWidget;
    const ViewKind kinds[] = {ViewKind::Distance, ViewKind::Height, ViewKind::Plan};
    for (ViewKind kind : kinds) {
        m_views[size_t(kind)] = new ViewWidget(kind);
        m_tabs->addTab(m_views[size_t(kind)], ViewTitle(kind));
    }
    m_situatie = new SituatieTab;
    m_tabs->addTab(m_situatie, QStringLiteral("Situatie"));
    auto *tablePage = new QWidget;
    auto *tableLayout = new QVBoxLayout(tablePage);
    m_tableCaption = new QLabel(tablePage);
    m_tableCaption->setWordWrap(true);
    m_tableModel = new ViewTableModel(this);
    m_tableView = new ViewTableView(tablePage);
    m_tableView->setModel(m_tableModel);
    m_tableCaption->setBuddy(m_tableView);
    tableLayout->addWidget(m_tableCaption);
    tableLayout->addWidget(m_tableView);
    m_tabs->addTab(tablePage, QStringLiteral("Tabel"));
    for (int i = 0; i < kTabCount; ++i)
        m_tabs->setTabToolTip(i, QStringLiteral("Ctrl+%1").arg(i + 1));

    // The answers keep their height when their texts change, so that the views below do
    // not move; where a window is too low for them they scroll.
    auto *answers = new QScrollArea;
    answers->setWidget(m_answers);
    answers->setWidgetResizable(true);
    answers->setFrameShape(QFrame::NoFrame);
    answers->setFocusPolicy(Qt::NoFocus);
    answers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    answers->setMinimumHeight(fontMetrics().lineSpacing() * 4);
    auto *right = new QSplitter(Qt::Vertical);
    m_answersArea = answers;
    right->addWidget(answers);
    right->addWidget(m_tabs);
    right->setStretchFactor(0, 0);
    right->setStretchFactor(1, 1);
    right->setChildrenCollapsible(false);
    return right;
}

QAction *ExploreWindow::addCommand(QMenu *menu, Command command, const QString &text,
                                   const QKeySequence &keys)
{
    QAction *action = menu->addAction(text);
    action->setShortcut(keys);
    m_actions[size_t(command)] = action;
    return action;
}

void ExploreWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Bestand"));
    QMenu *edit = menuBar()->addMenu(QStringLiteral("Bewer&ken"));
    connect(addCommand(file, Command::Case, QStringLiteral("&Zaakgegevens…"), {}), &QAction::triggered, this,
            &ExploreWindow::editCase);
    m_commands->addTo(file, edit);
    m_actions[size_t(Command::New)] = m_commands->newAction();
    m_actions[size_t(Command::Open)] = m_commands->openAction();
    m_actions[size_t(Command::Save)] = m_commands->saveAction();
    m_actions[size_t(Command::SaveAs)] = m_commands->saveAsAction();
    m_actions[size_t(Command::Undo)] = m_commands->undoAction();
    m_actions[size_t(Command::Redo)] = m_commands->redoAction();
    file->addSeparator();
    connect(
        addCommand(file, Command::Print, QStringLiteral("Af&drukken…"), QKeySequence(Qt::CTRL | Qt::Key_P)),
        &QAction::triggered, this, &ExploreWindow::print);
    const struct
    {
        Command command;
        const char *text;
        QKeySequence keys;
    } exports[] = {
        {Command::ReportPdf, "&Verkenningsrapport als PDF…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
        {Command::ExportPng, "Weergave als &PNG exporteren…", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {Command::ExportSvg, "Weergave als SV&G exporteren…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
        {Command::ExportCsv, "Tabel als &CSV exporteren…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
    };
    for (const auto &entry : exports) {
        const Command command = entry.command;
        connect(addCommand(file, command, QString::fromUtf8(entry.text), entry.keys), &QAction::triggered,
                this, [this, command] { chooseAndExport(command); });
    }
    file->addSeparator();
    connect(addCommand(file, Command::Quit, QStringLiteral("&Afsluiten"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &QWidget::close);

    QMenu *viewMenu = menuBar()->addMenu(QStringLiteral("&Weergave"));
    for (int i = 0; i < kTabCount; ++i) {
        QAction *action = viewMenu->addAction(QLatin1Char('&') + m_tabs->tabText(i));
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
        connect(action, &QAction::triggered, this, [this, i] {
            m_tabs->setCurrentIndex(i);
            m_tabs->currentWidget()->setFocus();
        });
    }

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(addCommand(help, Command::Help, QStringLiteral("&Help openen"), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &ExploreWindow::openHelp);
    connect(addCommand(help, Command::About, QStringLiteral("&Over %1").arg(kTitle), {}), &QAction::triggered,
            this, &ExploreWindow::about);
}

// At most nine tenths of the screen it opens on, so that a small or a scaled screen
// shows the whole window; the panels scroll or wrap below their natural size.
void ExploreWindow::fitToScreen()
{
    const QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize room = shown ? shown->availableGeometry().size() * kLargestScreenPart : kPreferredSize;
    resize(kPreferredSize.boundedTo(room));
    // The inputs take their natural width while the views keep most of a narrow window.
    auto *splitter = static_cast<QSplitter *>(centralWidget());
    auto *scroll = static_cast<QScrollArea *>(splitter->widget(0));
    const int inputs = m_inputs->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width() + 4;
    splitter->setSizes({std::min(inputs, int(width() * kLargestInputsPart)), width()});
}

// The answers get the height their texts take at the window's width; the views the rest.
void ExploreWindow::fitAnswers()
{
    auto *right = static_cast<QSplitter *>(m_answersArea->parentWidget());
    const int width = m_answersArea->viewport()->width();
    const int wanted =
        m_answers->hasHeightForWidth() ? m_answers->heightForWidth(width) : m_answers->sizeHint().height();
    const int total = right->height() - right->handleWidth();
    const int views = std::max(m_tabs->minimumSizeHint().height(), total - wanted);
    right->setSizes({total - views, views});
}

void ExploreWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // After the layout has settled at the new size.
    QTimer::singleShot(0, this, &ExploreWindow::fitAnswers);
}

bool ExploreWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
        for (const QAction *action : m_actions) {
            // Left unaccepted, the key goes on to the window's command.
            if (action && action->isEnabled() && action->shortcut() == pressed)
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void ExploreWindow::inputChanged()
{
    recordInput();
    const bool valid = m_inputs->valid();
    const QString reason = valid ? QString() : m_inputs->incompleteReason();
    for (ViewWidget *view : m_views)
        view->setIncomplete(reason);
    if (!valid) {
        m_answers->showIncomplete(reason);
        m_hover->clear();
        statusBar()->showMessage(
            QStringLiteral("Invoer onvolledig: er wordt niets berekend of geëxporteerd."));
        return;
    }
    m_situatie->setCalculation(m_inputs->input());
    if (m_exploration && sameInput(m_exploration->input, m_inputs->input()) && !m_runner->busy()) {
        // Put right again as it was: the answers on screen are the input's.
        m_answers->showExploration(*m_exploration);
        statusBar()->clearMessage();
        return;
    }
    m_answers->showBusy(true);
    m_runner->request(m_inputs->input());
}

// A valid input is the case's calculation: the keystrokes of one entry are one step to
// undo, an option switched is a step of its own.
void ExploreWindow::recordInput()
{
    if (m_showingDocument || !m_inputs->valid())
        return;
    const ExplorationInput before = InputOf(m_document->calculation());
    const ExplorationInput after = m_inputs->input();
    const bool optionSwitched = before.storage.indoor != after.storage.indoor
        || before.storage.compact != after.storage.compact || before.storage.screen != after.storage.screen
        || before.envelope != after.envelope;
    m_document->setCalculation(CalculationOf(after), m_inputs->describeChange(before, after),
                               optionSwitched ? -1 : m_entry);
    if (optionSwitched)
        ++m_entry;
}

// The case's calculation changed under the fields (opened, undone): they show it.
void ExploreWindow::showDocumentInput()
{
    if (SameCalculation(CalculationOf(m_inputs->input()), m_document->calculation()) && m_inputs->valid())
        return;
    m_showingDocument = true;
    m_inputs->setInput(InputOf(m_document->calculation()));
    m_showingDocument = false;
    ++m_entry;
}

void ExploreWindow::showExploration(std::shared_ptr<const Exploration> exploration)
{
    // An input finished computing after the fields turned wrong is no longer what they
    // show: the greyed answers and views stay as they were.
    if (!m_inputs->valid())
        return;
    m_exploration = exploration;
    m_answers->showExploration(*exploration);
    statusBar()->clearMessage();
    for (ViewWidget *view : m_views)
        view->setExploration(exploration);
    refreshTable();
    emit explorationShown();
}

void ExploreWindow::tabChanged(int index)
{
    if (index >= 0 && index <= int(Tab::Plan))
        m_tableKind = ViewKind(index);
    refreshTable();
}

void ExploreWindow::refreshTable()
{
    const bool waiting = m_exploration && TableWaits(m_tableKind, *m_exploration);
    m_tableCaption->setText(
        waiting
            ? kPlanNumbersPending
            : QStringLiteral("Getallen van de weergave „%1” (Ctrl+C kopieert):").arg(ViewTitle(m_tableKind)));
    // The plan's table is large: it is filled only while the table is shown.
    if (m_tabs->currentIndex() != int(Tab::Table) || !m_exploration)
        return;
    m_tableModel->setTable(TableFor(m_tableKind, *m_exploration, locale()));
}

ViewKind ExploreWindow::currentViewKind() const
{
    const int index = m_tabs->currentIndex();
    return index >= 0 && index <= int(Tab::Plan) ? ViewKind(index) : m_tableKind;
}

QString ExploreWindow::refusal() const
{
    if (!m_inputs->valid()) {
        return QStringLiteral("Invoer onvolledig – %1 Er is niets geschreven of afgedrukt.")
            .arg(m_inputs->incompleteReason());
    }
    if (!m_exploration)
        return QStringLiteral("Er is nog niets berekend om te exporteren.");
    if (!sameInput(m_exploration->input, m_inputs->input()) || m_runner->busy())
        return QStringLiteral(
            "De antwoorden voor de laatste invoer worden nog berekend; probeer het zo opnieuw.");
    return {};
}

// The report holds the site too, when the case has one.
QString ExploreWindow::reportRefusal() const
{
    if (const QString refused = refusal(); !refused.isEmpty())
        return refused;
    if (m_situatie->model()->committed().hasSite && !m_situatie->snapshot().complete())
        return QStringLiteral("De situatie wordt nog berekend; probeer het zo opnieuw.");
    return {};
}

QString ExploreWindow::exportView(ViewKind kind, const QString &path)
{
    if (const QString refused = refusal(); !refused.isEmpty())
        return refused;
    const bool svg = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    const QByteArray picture = svg ? RenderSvg(kind, *m_exploration, kExportSize, locale())
                                   : RenderPng(kind, *m_exploration, kExportSize, locale());
    return WriteFileAtomically(path, picture);
}

QString ExploreWindow::exportTable(const QString &path, CsvStyle style)
{
    if (const QString refused = refusal(); !refused.isEmpty())
        return refused;
    if (TableWaits(m_tableKind, *m_exploration))
        return kPlanNumbersPending;
    const QLocale headers =
        style == CsvStyle::Dutch ? QLocale(QLocale::Dutch, QLocale::Netherlands) : QLocale::c();
    return WriteFileAtomically(path, TableCsv(TableFor(m_tableKind, *m_exploration, headers), style));
}

QString ExploreWindow::exportReport(const QString &path)
{
    if (const QString refused = reportRefusal(); !refused.isEmpty())
        return refused;
    const SituatieSnapshot site = m_situatie->snapshot();
    return WriteFileAtomically(
        path, RenderReport(*m_exploration, caseDetails(), QDateTime::currentDateTime(), locale(), &site));
}

QString ExploreWindow::printReport(QPrinter &printer)
{
    if (const QString refused = reportRefusal(); !refused.isEmpty())
        return refused;
    const SituatieSnapshot site = m_situatie->snapshot();
    if (!PaintReport(printer, *m_exploration, caseDetails(), QDateTime::currentDateTime(), locale(), &site))
        return QStringLiteral(
            "Het Verkenningsrapport kon niet worden afgedrukt: de printer is niet bereikbaar.");
    return {};
}

// An export asked for just after typing waits for that input's answers, as long as the
// input is complete; an incomplete input is refused at once.
bool ExploreWindow::waitForAnswers()
{
    // The report holds the site too: its answers are waited for as well.
    if (!m_waiting && m_situatie->model()->committed().hasSite && !m_situatie->snapshot().complete()) {
        m_waiting = true;
        m_situatie->waitUntilComputed(kAnswerWaitMs);
        m_waiting = false;
    }
    if (!m_inputs->valid() || refusal().isEmpty())
        return true;
    if (m_waiting)
        return false;
    m_waiting = true;
    statusBar()->showMessage(QStringLiteral("Wachten op de antwoorden van de laatste invoer…"));
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(m_runner, &ExplorationRunner::finished, &loop, &QEventLoop::quit);
    limit.start(kAnswerWaitMs);
    while (limit.isActive() && m_inputs->valid() && !refusal().isEmpty()) {
        if (!m_runner->busy())
            m_runner->request(m_inputs->input());
        loop.exec();
    }
    m_waiting = false;
    statusBar()->clearMessage();
    return true;
}

void ExploreWindow::chooseAndExport(Command command)
{
    if ((command == Command::ExportPng || command == Command::ExportSvg)
        && m_tabs->currentIndex() == int(Tab::Situatie)) {
        m_situatie->chooseExport(command == Command::ExportPng ? QStringLiteral("png")
                                                               : QStringLiteral("svg"));
        return;
    }
    if (!waitForAnswers())
        return;
    if (const QString refused = refusal(); !refused.isEmpty()) {
        tell(refused, {});
        return;
    }
    const ViewKind kind = currentViewKind();
    QString caption;
    QStringList filters;
    QString name;
    switch (command) {
    case Command::ExportPng:
        caption = QStringLiteral("Weergave als PNG exporteren");
        filters << QStringLiteral("PNG-afbeelding (*.png)");
        name = ViewTitle(kind).toLower() + QStringLiteral(".png");
        break;
    case Command::ExportSvg:
        caption = QStringLiteral("Weergave als SVG exporteren");
        filters << QStringLiteral("SVG-tekening (*.svg)");
        name = ViewTitle(kind).toLower() + QStringLiteral(".svg");
        break;
    case Command::ExportCsv:
        caption = QStringLiteral("Tabel als CSV exporteren");
        filters << kCsvForSpreadsheets << kCsvForScripts;
        name = ViewTitle(m_tableKind).toLower() + QStringLiteral(".csv");
        break;
    default:
        caption = QStringLiteral("Verkenningsrapport opslaan");
        filters << QStringLiteral("PDF-document (*.pdf)");
        name = QStringLiteral("verkenningsrapport.pdf");
        break;
    }
    QString chosenFilter = filters.front();
    const QString path = m_chooseFile(caption, name, filters, &chosenFilter);
    if (path.isEmpty())
        return;
    QString error;
    if (command == Command::ExportPng || command == Command::ExportSvg)
        error = exportView(kind, path);
    else if (command == Command::ExportCsv)
        error = exportTable(path, chosenFilter == kCsvForScripts ? CsvStyle::Point : CsvStyle::Dutch);
    else
        error = exportReport(path);
    tell(error, path);
}

void ExploreWindow::print()
{
    if (!waitForAnswers())
        return;
    if (const QString refused = refusal(); !refused.isEmpty()) {
        tell(refused, {});
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(false);
    printer.setDocName(QStringLiteral("Verkenningsrapport"));
    if (!m_choosePrinter(printer))
        return;
    const QString error = printReport(printer);
    if (error.isEmpty())
        statusBar()->showMessage(
            QStringLiteral("Verkenningsrapport afgedrukt op %1.").arg(printer.printerName()), 8000);
    else
        tell(error, {});
}

void ExploreWindow::startUp(const QString &caseFile)
{
    m_commands->startUp(caseFile);
}

CaseDetails ExploreWindow::caseDetails() const
{
    return DetailsOf(m_document->meta());
}

void ExploreWindow::setCaseDetails(const CaseDetails &details)
{
    m_document->setMeta(MetaOf(m_document->meta(), details), QStringLiteral("Zaakgegevens wijzigen"));
}

void ExploreWindow::editCase()
{
    CaseDialog dialog(caseDetails(), this);
    if (dialog.exec() == QDialog::Accepted)
        setCaseDetails(dialog.details());
}

void ExploreWindow::closeEvent(QCloseEvent *event)
{
    if (m_commands->mayClose())
        event->accept();
    else
        event->ignore();
}

void ExploreWindow::openHelp()
{
    // The document is looked up where it lies and the viewer starts there; the window's
    // own folder (where its file dialogs begin) stays what it was.
    const QString before = QDir::currentPath();
    HelpShell shell(*m_services.shell, HelpShell::findHelpFolder());
    help::HelpCommand(shell, *m_services.messageBox).Command3_Click();
    m_services.shell->ChDir(before);
}

void ExploreWindow::about()
{
    m_services.messageBox->MsgBox(
        QStringLiteral(
            "%1, versie %2\n\n"
            "Verkent de warmtestraling van een brand in een houtopslag: het niveau tegen afstand en "
            "hoogte, een plattegrond met contouren en de antwoorden op de vragen naar de "
            "grenswaarde.\n\nOnderdeel van Warmtegloedvracht.")
            .arg(kTitle, ProgramVersion()),
        platform::vbOKOnly + platform::vbInformation, QStringLiteral("Over %1").arg(kTitle));
}

// A refusal is told in a message box, so that it is not missed; success in the status bar.
void ExploreWindow::tell(const QString &error, const QString &path)
{
    if (error.isEmpty()) {
        statusBar()->showMessage(QStringLiteral("Opgeslagen: %1").arg(QDir::toNativeSeparators(path)), 8000);
        return;
    }
    statusBar()->showMessage(error);
    m_services.messageBox->MsgBox(error, platform::vbOKOnly + platform::vbExclamation, kTitle);
}

} // namespace explore
