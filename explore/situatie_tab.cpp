#include "situatie_tab.h"

#include "case_document.h"
#include "exports.h"
#include "situatie_case.h"
#include "situatie_panel.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace explore {
namespace {

const QSize kExportSize(1600, 1130);

const QString kUnderlayFilter =
    QStringLiteral("Onderleggers (*.png *.jpg *.jpeg *.pdf *.dxf *.geojson *.json *.gpkg *.shp);;"
                   "Afbeeldingen (*.png *.jpg *.jpeg);;PDF-documenten (*.pdf);;"
                   "Tekeningen (*.dxf *.geojson *.json *.gpkg *.shp)");

struct ToolEntry
{
    SituatieTool tool;
    const char *text;
    const char *tip;
};

const ToolEntry kTools[] = {
    {SituatieTool::Select, "Selecteren",
     "Kiezen, verslepen en draaien (de greep boven zijde 3); lege grond "
     "verschuift de kaart"},
    {SituatieTool::AddStorage, "Opslag", "Een opslag toevoegen: klik waar hoek P1 komt"},
    {SituatieTool::AddReceiver, "Ontvanger", "Een ontvanger toevoegen: klik waar hij staat"},
    {SituatieTool::DrawBoundary, "Grens",
     "Een perceelgrens tekenen: klik de punten, dubbelklik of Enter op het "
     "laatste"},
    {SituatieTool::PickBoundary, "Grens uit tekening", "Een lijn van de tekening als perceelgrens overnemen"},
};

bool sameFile(const Underlay &a, const Underlay &b)
{
    return a.present == b.present && a.path == b.path && a.kind == b.kind && a.page == b.page
        && a.sha256 == b.sha256;
}

} // namespace

SituatieTab::SituatieTab(QWidget *parent)
    : QWidget(parent)
{
    m_model = new SituatieModel(this);
    m_runner = new SituatieRunner(this);
    m_view = new SituatieView(m_model);
    m_panel = new SituatiePanel(m_model);
    m_banner = new QLabel;
    m_banner->setWordWrap(true);
    m_banner->hide();

    auto *scroll = new QScrollArea;
    scroll->setWidget(m_panel);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *splitter = new QSplitter;
    splitter->addWidget(m_view);
    splitter->addWidget(scroll);
    // Room the tab gains goes to the map and the panel three to two: the map is what the tab
    // is for, the panel keeps its fields readable and scrolls below its width.
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);
    scroll->setMinimumWidth(fontMetrics().averageCharWidth() * 30);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolBar = buildToolBar());
    layout->addWidget(m_banner);
    layout->addWidget(splitter, 1);

    m_chooseOpen = [this](const QString &caption, const QString &filter) {
        return QFileDialog::getOpenFileName(this, caption, m_caseFolder, filter);
    };
    m_chooseSave = [this](const QString &caption, const QString &name, const QString &filter) {
        return QFileDialog::getSaveFileName(this, caption, QDir(m_caseFolder).filePath(name), filter);
    };
    m_askPlacement = [this](PlacementAnswer &answer) {
        UnderlayDialog dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        answer = dialog.answer();
        return true;
    };

    connect(m_model, &SituatieModel::changed, this, &SituatieTab::stateChanged);
    connect(m_runner, &SituatieRunner::updated, this, &SituatieTab::showResult);
    connect(m_view, &SituatieView::hovered, this, &SituatieTab::hovered);
    connect(m_view, &SituatieView::refused, this, &SituatieTab::showRefusal);
    connect(m_view, &SituatieView::placementPointsChosen, this, &SituatieTab::askPlacement);
    connect(m_view, &SituatieView::toolChanged, this, [this](SituatieTool tool) {
        if (QAction *action = toolAction(tool))
            action->setChecked(true);
    });
    connect(m_panel, &SituatiePanel::openUnderlayRequested, this, &SituatieTab::chooseUnderlay);
    connect(m_panel, &SituatiePanel::placeUnderlayRequested, this, &SituatieTab::startPlacing);
    connect(m_panel, &SituatiePanel::removeUnderlayRequested, this, &SituatieTab::removeUnderlay);
    connect(m_model, &SituatieModel::selectionChanged, this, [this] {
        // A storage added with the mouse takes the sizes of the one last selected.
        const Selection selected = m_model->selection();
        if (selected.kind == SelectionKind::Storage)
            m_view->setNewStorage(m_model->committed().site.storages[std::size_t(selected.index)]);
    });
    // Undo and redo in a field whose number is entered undo the site's edit, not the typing.
    for (QLineEdit *edit : m_panel->findChildren<QLineEdit *>())
        edit->installEventFilter(this);
    stateChanged();
}

SituatieTab::~SituatieTab()
{
    // The children go after this body: what they say on their way out is no longer heard.
    for (const QMetaObject::Connection &connection : m_stackConnections)
        disconnect(connection);
    m_model->disconnect(this);
    m_runner->disconnect(this);
}

bool SituatieTab::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *edit = qobject_cast<QLineEdit *>(watched);
        auto *key = static_cast<QKeyEvent *>(event);
        // Left unaccepted, the key goes on to the tab's undo or redo.
        if (edit && !edit->isModified()
            && (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

QToolBar *SituatieTab::buildToolBar()
{
    auto *bar = new QToolBar;
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_start = bar->addAction(QStringLiteral("Situatie beginnen"));
    m_start->setToolTip(QStringLiteral("De opslag van de berekening op een nieuwe situatie zetten"));
    connect(m_start, &QAction::triggered, this, &SituatieTab::startSite);
    m_tools = new QActionGroup(this);
    for (const ToolEntry &entry : kTools) {
        QAction *action = bar->addAction(QString::fromUtf8(entry.text));
        action->setToolTip(QString::fromUtf8(entry.tip));
        action->setCheckable(true);
        action->setData(int(entry.tool));
        action->setChecked(entry.tool == SituatieTool::Select);
        m_tools->addAction(action);
        const SituatieTool tool = entry.tool;
        connect(action, &QAction::triggered, this, [this, tool] { m_view->setTool(tool); });
    }
    bar->addSeparator();
    QAction *remove = bar->addAction(QStringLiteral("Verwijderen"));
    remove->setToolTip(QStringLiteral("Het gekozen onderdeel verwijderen (Delete)"));
    connect(remove, &QAction::triggered, this, [this] {
        if (!m_view->deleteSelection())
            showRefusal(QStringLiteral("Kies eerst wat u wilt verwijderen."));
    });
    m_undo = new QAction(QStringLiteral("Ongedaan maken"), this);
    m_redo = new QAction(QStringLiteral("Opnieuw"), this);
    connect(m_undo, &QAction::triggered, this, [this] { m_model->undoStack()->undo(); });
    connect(m_redo, &QAction::triggered, this, [this] { m_model->undoStack()->redo(); });
    // The tab's own keys, until the window's undo takes them (useDocument).
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo->setShortcut(QKeySequence::Redo);
    for (QAction *action : {m_undo, m_redo})
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    bar->addActions({m_undo, m_redo});
    addActions({m_undo, m_redo});
    followUndoStack();
    bar->addSeparator();
    QAction *fit = bar->addAction(QStringLiteral("Passend"));
    fit->setToolTip(QStringLiteral("De hele situatie in beeld"));
    connect(fit, &QAction::triggered, m_view, &SituatieView::fitToSite);
    bar->addSeparator();
    QAction *underlay = bar->addAction(QStringLiteral("Onderlegger…"));
    underlay->setToolTip(QStringLiteral("Een afbeelding, PDF of tekening onder de situatie leggen"));
    connect(underlay, &QAction::triggered, this, &SituatieTab::chooseUnderlay);

    auto *exports = new QMenu(this);
    const struct
    {
        const char *text;
        const char *suffix;
    } entries[] = {{"Situatie als &PNG…", "png"},
                   {"Situatie als &SVG…", "svg"},
                   {"Situatie als P&DF…", "pdf"},
                   {"Contouren als &GeoJSON…", "geojson"},
                   {"Contouren als D&XF…", "dxf"}};
    for (const auto &entry : entries) {
        const QString suffix = QString::fromLatin1(entry.suffix);
        connect(exports->addAction(QString::fromUtf8(entry.text)), &QAction::triggered, this,
                [this, suffix] { chooseExport(suffix); });
    }
    auto *button = new QToolButton;
    button->setText(QStringLiteral("Exporteren"));
    button->setMenu(exports);
    button->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(button);
    return bar;
}

// Plain captions that keep the toolbar still; what would be undone is in the tool tip.
void SituatieTab::followUndoStack()
{
    for (const QMetaObject::Connection &connection : m_stackConnections)
        disconnect(connection);
    m_stackConnections.clear();
    QUndoStack *stack = m_model->undoStack();
    const auto update = [this, stack] {
        m_undo->setEnabled(stack->canUndo());
        m_redo->setEnabled(stack->canRedo());
        m_undo->setToolTip(QStringLiteral("Ongedaan maken: %1").arg(stack->undoText()));
        m_redo->setToolTip(QStringLiteral("Opnieuw: %1").arg(stack->redoText()));
    };
    m_stackConnections.push_back(connect(stack, &QUndoStack::indexChanged, this, update));
    m_stackConnections.push_back(connect(stack, &QUndoStack::cleanChanged, this, update));
    update();
}

void SituatieTab::useDocument(CaseDocument *document)
{
    m_model->setDocument(document);
    followUndoStack();
    for (QAction *action : {m_undo, m_redo})
        action->setShortcut({});
    // In memory the underlay's path is absolute; in the file it is relative to the file.
    document->setReadFilter([](casefile::Case &value, const QString &path) {
        SituatieState state;
        QString error;
        if (SituatieFromCase(value, QFileInfo(path).absolutePath(), state, error))
            SituatieIntoCase(state, QString(), value);
    });
    document->setWriteFilter([](casefile::Case &value, const QString &path) {
        SituatieState state;
        QString error;
        if (SituatieFromCase(value, QString(), state, error))
            SituatieIntoCase(state, path.isEmpty() ? QString() : QFileInfo(path).absolutePath(), value);
    });
    connect(document, &CaseDocument::pathChanged, this, [this, document] {
        setCaseFolder(document->path().isEmpty() ? QString() : QFileInfo(document->path()).absolutePath());
    });
    connect(m_model, &SituatieModel::replaced, m_view, &SituatieView::fitWhenComputed);
}

QAction *SituatieTab::toolAction(SituatieTool tool) const
{
    for (QAction *action : m_tools->actions()) {
        if (action->data().toInt() == int(tool))
            return action;
    }
    return nullptr;
}

void SituatieTab::setCalculation(const ExplorationInput &input)
{
    m_calculation = input;
    if (m_model->selection().kind != SelectionKind::Storage)
        m_view->setNewStorage(
            SiteFromCalculation(input.storage, input.limitKw, input.envelope).storages.front());
}

void SituatieTab::startSite()
{
    if (m_model->committed().hasSite)
        return;
    SituatieState next = m_model->committed();
    next.hasSite = true;
    next.site = SiteFromCalculation(m_calculation.storage, m_calculation.limitKw, m_calculation.envelope);
    showRefusal(m_model->edit(QStringLiteral("Situatie beginnen"), next));
    m_view->fitToSite();
}

void SituatieTab::stateChanged()
{
    const SituatieState &shown = m_model->shown();
    m_start->setVisible(!shown.hasSite);
    for (QAction *action : m_tools->actions())
        action->setEnabled(shown.hasSite);
    if (!shown.hasSite) {
        m_requested = false;
        m_runner->cancel();
        showResult(nullptr);
    } else if (!m_requested || !SameSite(m_requestedSite, shown.site)) {
        m_requested = true;
        m_requestedSite = shown.site;
        m_runner->request(shown.site);
    }
    reloadUnderlay();
}

void SituatieTab::showResult(std::shared_ptr<const SituatieResult> result)
{
    m_result = result;
    m_view->setResult(result);
    m_panel->setResult(result);
    if (result && !result->refusal.isEmpty())
        showRefusal(QStringLiteral("Geen kaart van de situatie: %1").arg(result->refusal));
    else if (m_banner->property("refusal").toBool())
        showRefusal(QString());
}

void SituatieTab::showRefusal(const QString &reason)
{
    m_banner->setText(reason);
    m_banner->setVisible(!reason.isEmpty());
    m_banner->setProperty("refusal", reason.startsWith(QStringLiteral("Geen kaart")));
    if (!reason.isEmpty())
        QApplication::beep();
}

void SituatieTab::reloadUnderlay()
{
    const Underlay &underlay = m_model->committed().underlay;
    const QString malformed = m_model->underlayError();
    if (sameFile(underlay, m_loadedUnderlay) && malformed == m_malformedUnderlay)
        return;
    m_loadedUnderlay = underlay;
    m_malformedUnderlay = malformed;
    m_underlay.reset();
    // A key the window cannot read is named; the case keeps it until another drawing is chosen.
    m_underlayStatus = malformed.isEmpty()
        ? QString()
        : QStringLiteral("De onderlegger van deze zaak wordt niet getoond: %1").arg(malformed);
    if (underlay.present) {
        QString status;
        if (CheckUnderlayFile(underlay, status) != UnderlayFileState::Missing) {
            auto content = std::make_shared<UnderlayContent>();
            QString reason;
            if (LoadUnderlay(underlay.path, underlay.kind, underlay.page, *content, reason))
                m_underlay = content;
            else
                status = reason;
        }
        m_underlayStatus = status;
    }
    m_panel->setUnderlayStatus(m_underlayStatus);
    m_view->setUnderlayContent(m_underlay);
}

QString SituatieTab::openUnderlay(const QString &path)
{
    if (!m_model->committed().hasSite)
        return QStringLiteral("Begin eerst een situatie; de onderlegger hoort bij de situatie.");
    UnderlayKind kind;
    if (!UnderlayKindOf(path, kind))
        return QStringLiteral("%1 is geen afbeelding (PNG, JPEG), PDF of tekening (DXF, GeoJSON, GeoPackage, "
                              "Shapefile).")
            .arg(QFileInfo(path).fileName());
    auto content = std::make_shared<UnderlayContent>();
    QString reason;
    if (!LoadUnderlay(path, kind, 0, *content, reason))
        return reason;
    SituatieState next = m_model->committed();
    next.underlay.present = true;
    next.underlay.path = QFileInfo(path).absoluteFilePath();
    next.underlay.kind = kind;
    next.underlay.page = 0;
    next.underlay.sha256 = FileSha256(path);
    if (kind != UnderlayKind::Vector) {
        // Until it is placed by two points, the picture covers what the map shows now.
        const QRectF visible = m_view->viewport().visibleSite();
        const QSizeF size = content->drawingSize;
        UnderlayPlacement placement;
        placement.scale = std::min(visible.width() / size.width(), visible.height() / size.height()) * 0.9;
        placement.origin = {visible.center().x() - placement.scale * size.width() / 2,
                            visible.center().y() + placement.scale * size.height() / 2};
        if (placement.valid())
            next.underlay.placement = placement;
    }
    m_loadedUnderlay = next.underlay;
    m_underlay = content;
    m_underlayStatus.clear();
    const QString refusal = m_model->edit(QStringLiteral("Onderlegger openen"), next);
    if (!refusal.isEmpty())
        return refusal;
    m_panel->setUnderlayStatus(QString());
    m_view->setUnderlayContent(m_underlay);
    if (kind == UnderlayKind::Vector)
        m_view->fitTo(
            SituatieBounds(next, m_result.get(), nullptr).united(UnderlayBounds(next.underlay, *content)));
    return {};
}

void SituatieTab::chooseUnderlay()
{
    const QString path = m_chooseOpen(QStringLiteral("Onderlegger openen"), kUnderlayFilter);
    if (path.isEmpty())
        return;
    const QString error = openUnderlay(path);
    if (error.isEmpty()) {
        const bool placed = m_model->committed().underlay.kind == UnderlayKind::Vector;
        emit told(QString(), path);
        if (!placed)
            startPlacing();
    } else {
        emit told(error, path);
    }
}

void SituatieTab::removeUnderlay()
{
    SituatieState next = m_model->committed();
    next.underlay = Underlay();
    showRefusal(m_model->edit(QStringLiteral("Onderlegger weghalen"), next));
}

void SituatieTab::startPlacing()
{
    const Underlay &underlay = m_model->committed().underlay;
    if (!underlay.present || underlay.kind == UnderlayKind::Vector || !m_underlay)
        return;
    m_view->setTool(SituatieTool::PlaceUnderlay);
    showRefusal(QString());
    m_banner->setText(
        QStringLiteral("Klik twee punten op de onderlegger waarvan u de afstand of de coördinaten "
                       "kent (Esc breekt af)."));
    m_banner->show();
}

void SituatieTab::askPlacement(const QPointF &first, const QPointF &second)
{
    m_banner->hide();
    PlacementAnswer answer;
    if (!m_askPlacement(answer))
        return;
    const QString error = placeUnderlay(first, second, answer);
    if (!error.isEmpty())
        emit told(error, QString());
}

QString SituatieTab::placeUnderlay(const QPointF &first, const QPointF &second, const PlacementAnswer &answer)
{
    SituatieState next = m_model->committed();
    if (!next.underlay.present || next.underlay.kind == UnderlayKind::Vector)
        return QStringLiteral("Er is geen afbeelding of PDF om te plaatsen.");
    QString reason;
    UnderlayPlacement placement;
    const bool placed = answer.byDistance
        ? PlaceByDistance(first, second, answer.distance, next.underlay.placement, placement, reason)
        : PlaceByCoordinates(first, second, answer.first, answer.second, placement, reason);
    if (!placed)
        return reason;
    next.underlay.placement = placement;
    return m_model->edit(QStringLiteral("Onderlegger plaatsen"), next);
}

SituatieSnapshot SituatieTab::snapshot() const
{
    return {m_model->committed(), m_result, m_underlay};
}

bool SituatieTab::waitUntilComputed(int milliseconds)
{
    if (!m_model->committed().hasSite)
        return false;
    QElapsedTimer clock;
    clock.start();
    while (!snapshot().complete() || m_runner->busy()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        connect(m_runner, &SituatieRunner::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

QString SituatieTab::exportPicture(const QString &path)
{
    SituatieFormat format;
    if (!SituatieFormatOf(path, format))
        return QStringLiteral("De situatie gaat naar een PNG-, SVG- of PDF-bestand.");
    const SituatieSnapshot shot = snapshot();
    if (!shot.complete())
        return QStringLiteral("De situatie wordt nog berekend; probeer het zo opnieuw.");
    return WriteFileAtomically(path, RenderSituatie(shot, format, kExportSize, locale()));
}

QString SituatieTab::exportContours(const QString &path)
{
    QByteArray bytes;
    QString reason;
    if (!SituatieContourFile(snapshot(), path, bytes, reason))
        return reason;
    return WriteFileAtomically(path, bytes);
}

void SituatieTab::chooseExport(const QString &suffix)
{
    const bool contours = suffix == QLatin1String("geojson") || suffix == QLatin1String("dxf");
    if (!m_model->committed().hasSite) {
        emit told(QStringLiteral("Er is nog geen situatie om te exporteren."), QString());
        return;
    }
    waitUntilComputed(30000);
    const QString name = (contours ? QStringLiteral("contouren.") : QStringLiteral("situatie.")) + suffix;
    const QString filter = suffix == QLatin1String("geojson")
        ? QStringLiteral("GeoJSON (*.geojson)")
        : QStringLiteral("%1-bestand (*.%2)").arg(suffix.toUpper(), suffix);
    const QString path = m_chooseSave(contours ? QStringLiteral("Contouren exporteren")
                                               : QStringLiteral("Situatie exporteren"),
                                      name, filter);
    if (path.isEmpty())
        return;
    emit told(contours ? exportContours(path) : exportPicture(path), path);
}

} // namespace explore
