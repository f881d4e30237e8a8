#pragma once

#include "view_painter.h"

#include <QWidget>

#include <memory>

class QPainter;

namespace explore {

// One view of the exploration on screen, drawn by the same code as the exports. The
// plan reports the level under the mouse.
class ViewWidget : public QWidget
{
    Q_OBJECT

public:
    ViewWidget(ViewKind kind, QWidget *parent = nullptr);

    ViewKind kind() const { return m_kind; }
    void setExploration(std::shared_ptr<const Exploration> exploration);
    // While the input is incomplete the view is greyed under a line that says why;
    // an empty reason shows it plainly again.
    void setIncomplete(const QString &reason);
    QString incompleteReason() const { return m_incomplete; }
    // The text the plan shows for a spot of the widget, empty outside the ground.
    QString hoverText(const QPointF &position) const;

signals:
    void hovered(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void paintIncomplete(QPainter &painter);

    ViewKind m_kind;
    std::shared_ptr<const Exploration> m_exploration;
    QString m_incomplete;
};

} // namespace explore
