#include "explore_window.h"

#include "answers_panel.h"
#include "exports.h"
#include "inputs_panel.h"
#include "view_table.h"
#include "view_widgets.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace explore {
namespace {

constexpr QSize kExportSize(1200, 900);

// The plan's exact numbers follow its picture within a fraction of a second.
const QString kPlanNumbersPending =
    QStringLiteral("De getallen van de plattegrond worden nog berekend; een ogenblik geduld.");

enum ExportChoice { PngExport, SvgExport, CsvExport, ReportExport };

} // namespace

ExploreWindow::ExploreWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Warmtegloed – Verkenning"));
    m_runner = new ExplorationRunner(this);

    m_inputs = new InputsPanel;
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_inputs);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(m_inputs->sizeHint().width() + 24);

    m_answers = new AnswersPanel;
    m_tabs = new QTabWidget;
    const char *names[] = {"Afstand", "Hoogte", "Plattegrond"};
    for (int i = 0; i < 3; ++i) {
        m_views[size_t(i)] = new ViewWidget(ViewKind(i));
        m_tabs->addTab(m_views[size_t(i)], QString::fromUtf8(names[i]));
    }
    auto *tablePage = new QWidget;
    auto *tableLayout = new QVBoxLayout(tablePage);
    m_tableCaption = new QLabel(tablePage);
    m_tableModel = new ViewTableModel(this);
    m_tableView = new ViewTableView(tablePage);
    m_tableView->setModel(m_tableModel);
    m_tableCaption->setBuddy(m_tableView);
    tableLayout->addWidget(m_tableCaption);
    tableLayout->addWidget(m_tableView);
    m_tabs->addTab(tablePage, QStringLiteral("Tabel"));
    for (int i = 0; i < 4; ++i)
        m_tabs->setTabToolTip(i, QStringLiteral("Ctrl+%1").arg(i + 1));

    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(m_answers);
    rightLayout->addWidget(m_tabs, 1);

    auto *splitter = new QSplitter;
    splitter->addWidget(scroll);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);

    m_hover = new QLabel;
    statusBar()->addPermanentWidget(m_hover);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&Bestand"));
    auto addExport = [&](const QString &text, const QKeySequence &keys, int what) {
        QAction *action = file->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, what] { chooseAndExport(what); });
    };
    addExport(QStringLiteral("Weergave als &PNG exporteren…"), QKeySequence(Qt::CTRL | Qt::Key_E), PngExport);
    addExport(QStringLiteral("Weergave als &SVG exporteren…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
              SvgExport);
    addExport(QStringLiteral("Tabel als &CSV exporteren…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
              CsvExport);
    addExport(QStringLiteral("&Verkenningsrapport (PDF)…"), QKeySequence(Qt::CTRL | Qt::Key_P), ReportExport);
    file->addSeparator();
    QAction *quit = file->addAction(QStringLiteral("&Afsluiten"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &QWidget::close);
    QMenu *viewMenu = menuBar()->addMenu(QStringLiteral("&Weergave"));
    for (int i = 0; i < 4; ++i) {
        QAction *action = viewMenu->addAction(m_tabs->tabText(i));
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
        connect(action, &QAction::triggered, this, [this, i] {
            m_tabs->setCurrentIndex(i);
            m_tabs->currentWidget()->setFocus();
        });
    }

    connect(m_inputs, &InputsPanel::inputChanged, this, &ExploreWindow::inputChanged);
    connect(m_runner, &ExplorationRunner::updated, this, &ExploreWindow::showExploration);
    connect(m_runner, &ExplorationRunner::finished, this, [this] {
        m_answers->showBusy(false);
        statusBar()->showMessage(QStringLiteral("Bijgewerkt."), 2000);
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, &ExploreWindow::tabChanged);
    connect(m_views[size_t(ViewKind::Plan)], &ViewWidget::hovered, m_hover, &QLabel::setText);

    resize(1280, 720);
    m_inputs->edit(Field::Width)->setFocus();
    tabChanged(0);
    inputChanged();
}

void ExploreWindow::inputChanged()
{
    if (!m_inputs->valid()) {
        m_answers->showInvalidInput();
        return;
    }
    m_answers->showBusy(true);
    m_runner->request(m_inputs->input());
}

void ExploreWindow::showExploration(std::shared_ptr<const Exploration> exploration)
{
    m_exploration = exploration;
    m_answers->showExploration(*exploration);
    if (!m_inputs->valid())
        m_answers->showInvalidInput();
    for (ViewWidget *view : m_views)
        view->setExploration(exploration);
    refreshTable();
    emit explorationShown();
}

void ExploreWindow::tabChanged(int index)
{
    if (index >= 0 && index < 3)
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
    if (m_tabs->currentIndex() != 3 || !m_exploration)
        return;
    m_tableModel->setTable(TableFor(m_tableKind, *m_exploration));
}

ViewKind ExploreWindow::currentViewKind() const
{
    const int index = m_tabs->currentIndex();
    return index >= 0 && index < 3 ? ViewKind(index) : m_tableKind;
}

QString ExploreWindow::exportView(ViewKind kind, const QString &path)
{
    if (!m_exploration)
        return QStringLiteral("Er is nog niets berekend om te exporteren.");
    const bool svg = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    const QByteArray picture = svg ? RenderSvg(kind, *m_exploration, kExportSize, locale())
                                   : RenderPng(kind, *m_exploration, kExportSize, locale());
    return WriteFileAtomically(path, picture);
}

QString ExploreWindow::exportTable(const QString &path)
{
    if (!m_exploration)
        return QStringLiteral("Er is nog niets berekend om te exporteren.");
    if (TableWaits(m_tableKind, *m_exploration))
        return kPlanNumbersPending;
    return WriteFileAtomically(path, TableCsv(TableFor(m_tableKind, *m_exploration)));
}

QString ExploreWindow::exportReport(const QString &path)
{
    if (!m_exploration)
        return QStringLiteral("Er is nog niets berekend om te exporteren.");
    return WriteFileAtomically(path, RenderReport(*m_exploration, QDateTime::currentDateTime(), locale()));
}

void ExploreWindow::chooseAndExport(int what)
{
    const ViewKind kind = currentViewKind();
    QString caption;
    QString filter;
    QString name;
    switch (what) {
    case PngExport:
        caption = QStringLiteral("Weergave als PNG exporteren");
        filter = QStringLiteral("PNG-afbeelding (*.png)");
        name = ViewTitle(kind).toLower() + QStringLiteral(".png");
        break;
    case SvgExport:
        caption = QStringLiteral("Weergave als SVG exporteren");
        filter = QStringLiteral("SVG-tekening (*.svg)");
        name = ViewTitle(kind).toLower() + QStringLiteral(".svg");
        break;
    case CsvExport:
        caption = QStringLiteral("Tabel als CSV exporteren");
        filter = QStringLiteral("CSV-bestand (*.csv)");
        name = ViewTitle(m_tableKind).toLower() + QStringLiteral(".csv");
        break;
    default:
        caption = QStringLiteral("Verkenningsrapport opslaan");
        filter = QStringLiteral("PDF-document (*.pdf)");
        name = QStringLiteral("verkenningsrapport.pdf");
        break;
    }
    const QString path = QFileDialog::getSaveFileName(this, caption, name, filter);
    if (path.isEmpty())
        return;
    QString error;
    if (what == PngExport || what == SvgExport)
        error = exportView(kind, path);
    else if (what == CsvExport)
        error = exportTable(path);
    else
        error = exportReport(path);
    report(error, path);
}

void ExploreWindow::report(const QString &error, const QString &path)
{
    if (error.isEmpty())
        statusBar()->showMessage(QStringLiteral("Opgeslagen: %1").arg(QDir::toNativeSeparators(path)), 8000);
    else
        statusBar()->showMessage(error);
}

} // namespace explore
