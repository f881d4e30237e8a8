#pragma once

#include "case_details.h"
#include "exploration_runner.h"
#include "view_painter.h"
#include "view_table.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QPrinter;
class QScrollArea;
class QTabWidget;

namespace platform {
class MessageBox;
class SystemShell;
} // namespace platform

namespace explore {

class AnswersPanel;
class CaseCommands;
class CaseDocument;
class InputsPanel;
class SituatieTab;
class ViewTableModel;
class ViewTableView;
class ViewWidget;

// The tabs of the views, in their order.
enum class Tab { Distance, Height, Plan, Situatie, Table };
constexpr int kTabCount = 5;

// The menu entries a test or the shortcut check reaches for.
enum class Command {
    Case,
    Print,
    ReportPdf,
    ExportPng,
    ExportSvg,
    ExportCsv,
    Quit,
    Help,
    About,
    New,
    Open,
    Save,
    SaveAs,
    Undo,
    Redo
};
constexpr int kCommandCount = 15;

// What the window uses of the desktop: the shell and message box behind "Help" and
// behind the messages of its own commands.
struct ExploreServices
{
    platform::SystemShell *shell = nullptr;
    platform::MessageBox *messageBox = nullptr;
};

// The exploration window: a case (CaseDocument) shown as inputs on the left, the answers always above the views, and
// the views in tabs (distance, height, plan, table). Every valid change recomputes in
// the background; while the input is incomplete the answers and views say so and
// nothing is exported or printed. Exports write the current view, the table or the
// Verkenningsrapport, which also goes to a printer.
class ExploreWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ExploreWindow(const ExploreServices &services = {}, QWidget *parent = nullptr);
    ~ExploreWindow() override;

    InputsPanel *inputs() const { return m_inputs; }
    AnswersPanel *answers() const { return m_answers; }
    QTabWidget *tabs() const { return m_tabs; }
    ViewWidget *view(ViewKind kind) const { return m_views[size_t(kind)]; }
    SituatieTab *situatie() const { return m_situatie; }
    ExplorationRunner *runner() const { return m_runner; }
    std::shared_ptr<const Exploration> exploration() const { return m_exploration; }
    QAction *action(Command command) const { return m_actions[size_t(command)]; }

    // The case the window shows, and its commands (files, undo, autosave).
    CaseDocument *document() const { return m_document; }
    CaseCommands *caseCommands() const { return m_commands; }
    // After the window is shown: offers what a crashed window left, then opens `caseFile`.
    void startUp(const QString &caseFile);

    // "Zaakgegevens": the case's names, which its report prints.
    CaseDetails caseDetails() const;
    void setCaseDetails(const CaseDetails &details);

    // Each returns an empty string on success, or the Dutch reason why nothing was written.
    QString exportView(ViewKind kind, const QString &path);
    QString exportTable(const QString &path, CsvStyle style);
    QString exportReport(const QString &path);
    QString printReport(QPrinter &printer);

    // How the window asks for a file name (with the filter chosen) and for a printer; tests
    // put their own in place of the dialogs.
    using FileChooser = std::function<QString(const QString &caption, const QString &name,
                                              const QStringList &filters, QString *chosenFilter)>;
    using PrinterChooser = std::function<bool(QPrinter &printer)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    void setPrinterChooser(PrinterChooser chooser) { m_choosePrinter = std::move(chooser); }

signals:
    void explorationShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void useDesktop();
    QWidget *buildViews();
    void buildMenus();
    QAction *addCommand(QMenu *menu, Command command, const QString &text, const QKeySequence &keys);
    void fitToScreen();
    void fitAnswers();
    void inputChanged();
    void recordInput();
    void showDocumentInput();
    void showExploration(std::shared_ptr<const Exploration> exploration);
    void tabChanged(int index);
    void refreshTable();
    // Why nothing may leave the window now; empty when the answers are those of the input.
    QString refusal() const;
    QString reportRefusal() const;
    bool waitForAnswers();
    void chooseAndExport(Command command);
    void print();
    void editCase();
    void openHelp();
    void about();
    void tell(const QString &error, const QString &path);
    ViewKind currentViewKind() const;

    ExploreServices m_services;
    std::unique_ptr<platform::SystemShell> m_ownShell;
    std::unique_ptr<platform::MessageBox> m_ownMessageBox;
    InputsPanel *m_inputs = nullptr;
    AnswersPanel *m_answers = nullptr;
    QTabWidget *m_tabs = nullptr;
    QScrollArea *m_answersArea = nullptr;
    std::array<ViewWidget *, 3> m_views {};
    SituatieTab *m_situatie = nullptr;
    std::array<QAction *, kCommandCount> m_actions {};
    ViewTableModel *m_tableModel = nullptr;
    ViewTableView *m_tableView = nullptr;
    QLabel *m_tableCaption = nullptr;
    QLabel *m_hover = nullptr;
    ExplorationRunner *m_runner = nullptr;
    std::shared_ptr<const Exploration> m_exploration;
    ViewKind m_tableKind = ViewKind::Distance;
    CaseDocument *m_document = nullptr;
    CaseCommands *m_commands = nullptr;
    int m_entry = 0; // the typing of one entry is one step to undo
    bool m_showingDocument = false;
    FileChooser m_chooseFile;
    PrinterChooser m_choosePrinter;
    bool m_waiting = false;
};

} // namespace explore
