#pragma once

#include "view_painter.h"

#include <QWidget>

#include <memory>

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
    // The text the plan shows for a spot of the widget, empty outside the ground.
    QString hoverText(const QPointF &position) const;

signals:
    void hovered(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    ViewKind m_kind;
    std::shared_ptr<const Exploration> m_exploration;
};

} // namespace explore
