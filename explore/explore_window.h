#pragma once

#include "exploration_runner.h"
#include "view_painter.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QLabel;
class QTabWidget;

namespace explore {

class AnswersPanel;
class InputsPanel;
class ViewTableModel;
class ViewTableView;
class ViewWidget;

// The exploration window: inputs on the left, the answers always above the views, and
// the views in tabs (distance, height, plan, table). Every valid change recomputes in
// the background; exports write the current view, the table or the whole report.
class ExploreWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ExploreWindow(QWidget *parent = nullptr);

    InputsPanel *inputs() const { return m_inputs; }
    AnswersPanel *answers() const { return m_answers; }
    QTabWidget *tabs() const { return m_tabs; }
    ViewWidget *view(ViewKind kind) const { return m_views[size_t(kind)]; }
    ViewTableView *tableView() const { return m_tableView; }
    ExplorationRunner *runner() const { return m_runner; }
    std::shared_ptr<const Exploration> exploration() const { return m_exploration; }
    // The view whose numbers the table shows: the last of the three chosen.
    ViewKind tableKind() const { return m_tableKind; }

    // Each returns an empty string on success or the Dutch explanation.
    QString exportView(ViewKind kind, const QString &path);
    QString exportTable(const QString &path);
    QString exportReport(const QString &path);

signals:
    void explorationShown();

private:
    void inputChanged();
    void showExploration(std::shared_ptr<const Exploration> exploration);
    void tabChanged(int index);
    void refreshTable();
    void chooseAndExport(int what);
    void report(const QString &error, const QString &path);
    ViewKind currentViewKind() const;

    InputsPanel *m_inputs = nullptr;
    AnswersPanel *m_answers = nullptr;
    QTabWidget *m_tabs = nullptr;
    std::array<ViewWidget *, 3> m_views {};
    ViewTableModel *m_tableModel = nullptr;
    ViewTableView *m_tableView = nullptr;
    QLabel *m_tableCaption = nullptr;
    QLabel *m_hover = nullptr;
    ExplorationRunner *m_runner = nullptr;
    std::shared_ptr<const Exploration> m_exploration;
    ViewKind m_tableKind = ViewKind::Distance;
};

} // namespace explore
