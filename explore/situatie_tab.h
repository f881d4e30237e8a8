#pragma once

#include "exploration.h"
#include "situatie_exports.h"
#include "situatie_runner.h"
#include "situatie_view.h"
#include "underlay_dialog.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QToolBar;

namespace explore {

class CaseDocument;
class SituatiePanel;

// The "Situatie" tab of the exploration window: a toolbar, the map of the whole site
// (SituatieView) and beside it its numbers and answers (SituatiePanel). It keeps the
// site computed in the background (SituatieRunner), loads and checks the underlay, asks
// how an underlay is placed, and writes the Situatie's files.
class SituatieTab : public QWidget
{
    Q_OBJECT

public:
    explicit SituatieTab(QWidget *parent = nullptr);
    ~SituatieTab() override;

    SituatieModel *model() const { return m_model; }
    SituatieView *view() const { return m_view; }
    SituatiePanel *panel() const { return m_panel; }
    SituatieRunner *runner() const { return m_runner; }
    QToolBar *toolBar() const { return m_toolBar; }
    QAction *toolAction(SituatieTool tool) const;
    QAction *startAction() const { return m_start; }

    // The case the window holds: edits go to it and its undo stack, whose keys are the
    // window's; the underlay's path is written relative to the case file.
    void useDocument(CaseDocument *document);

    // The window's calculation: where "Situatie beginnen" starts from, and the sizes of a
    // storage added with the mouse until one is selected.
    void setCalculation(const ExplorationInput &input);

    // The folder of the case file, from where the underlay's path is written; empty for a
    // case not yet saved.
    void setCaseFolder(const QString &folder) { m_caseFolder = folder; }
    QString caseFolder() const { return m_caseFolder; }

    SituatieSnapshot snapshot() const;
    // Waits (the event loop running) until the shown site's answers are final; false when
    // `milliseconds` pass first or there is no site.
    bool waitUntilComputed(int milliseconds);

    // Each returns an empty string on success, or the Dutch reason why nothing was done.
    QString openUnderlay(const QString &path);
    QString placeUnderlay(const QPointF &first, const QPointF &second, const PlacementAnswer &answer);
    QString exportPicture(const QString &path);
    QString exportContours(const QString &path);
    // Asks for a file name and writes the Situatie (png, svg, pdf) or its contours
    // (geojson, dxf); the outcome goes out through told().
    void chooseExport(const QString &suffix);

    // How the tab asks for files and for the placement; tests put their own in place of
    // the dialogs.
    using OpenChooser = std::function<QString(const QString &caption, const QString &filter)>;
    using SaveChooser =
        std::function<QString(const QString &caption, const QString &name, const QString &filter)>;
    using PlacementAsker = std::function<bool(PlacementAnswer &answer)>;
    void setOpenChooser(OpenChooser chooser) { m_chooseOpen = std::move(chooser); }
    void setSaveChooser(SaveChooser chooser) { m_chooseSave = std::move(chooser); }
    void setPlacementAsker(PlacementAsker asker) { m_askPlacement = std::move(asker); }

signals:
    void hovered(const QString &text);
    // The result of a command: an empty error and the file written, or the Dutch reason.
    void told(const QString &error, const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolBar *buildToolBar();
    void stateChanged();
    void showResult(std::shared_ptr<const SituatieResult> result);
    void reloadUnderlay();
    void startSite();
    void chooseUnderlay();
    void removeUnderlay();
    void startPlacing();
    void askPlacement(const QPointF &first, const QPointF &second);
    void showRefusal(const QString &reason);
    void followUndoStack();

    SituatieModel *m_model = nullptr;
    SituatieRunner *m_runner = nullptr;
    SituatieView *m_view = nullptr;
    SituatiePanel *m_panel = nullptr;
    QToolBar *m_toolBar = nullptr;
    QLabel *m_banner = nullptr;
    QAction *m_start = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    std::vector<QMetaObject::Connection> m_stackConnections;
    QActionGroup *m_tools = nullptr;
    std::shared_ptr<const SituatieResult> m_result;
    std::shared_ptr<const UnderlayContent> m_underlay;
    Underlay m_loadedUnderlay; // the file and page m_underlay was loaded from
    QString m_underlayStatus;
    QString m_malformedUnderlay;
    bool m_requested = false;
    engine::Site m_requestedSite;
    ExplorationInput m_calculation;
    QString m_caseFolder;
    OpenChooser m_chooseOpen;
    SaveChooser m_chooseSave;
    PlacementAsker m_askPlacement;
};

} // namespace explore
