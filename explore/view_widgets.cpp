#include "view_widgets.h"

#include <QMouseEvent>
#include <QPainter>

namespace explore {

ViewWidget::ViewWidget(ViewKind kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    setMouseTracking(kind == ViewKind::Plan);
    setMinimumSize(240, 180);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ViewWidget::setExploration(std::shared_ptr<const Exploration> exploration)
{
    m_exploration = std::move(exploration);
    update();
}

void ViewWidget::setIncomplete(const QString &reason)
{
    if (m_incomplete == reason)
        return;
    m_incomplete = reason;
    update();
}

void ViewWidget::paintIncomplete(QPainter &painter)
{
    QColor veil = palette().color(QPalette::Window);
    veil.setAlpha(215);
    painter.fillRect(rect(), veil);
    painter.setPen(palette().color(QPalette::WindowText));
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    const QRect area = rect().adjusted(20, 20, -20, -20);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                     QStringLiteral("Invoer onvolledig\n\n%1\n\nDe figuur hoort bij een eerdere invoer.")
                         .arg(m_incomplete));
}

void ViewWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    if (!m_exploration) {
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Berekenen…"));
        return;
    }
    if (m_exploration->refusal.refused() && m_exploration->distance.distances.empty()) {
        painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                         QString::fromStdString(m_exploration->refusal.message));
        return;
    }
    PaintView(painter, QRectF(rect()), m_kind, *m_exploration, locale(),
              ChartColours::FromPalette(palette()));
    if (!m_incomplete.isEmpty())
        paintIncomplete(painter);
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 2, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

QString ViewWidget::hoverText(const QPointF &position) const
{
    // No level of an input that is no longer the one typed.
    if (m_kind != ViewKind::Plan || !m_exploration || m_exploration->plan.resolution < 2
        || !m_incomplete.isEmpty())
        return {};
    const PlanLayout layout = LayoutPlan(QRectF(rect()), *m_exploration, logicalDpiY() / 96.0);
    if (!layout.valid() || !layout.map.contains(position))
        return {};
    const QPointF world = layout.toWorld(position);
    double value = 0;
    if (!PlanLevelAt(m_exploration->input, world.x(), world.y(), value)) {
        return QStringLiteral("x = %1 m, y = %2 m: niet berekend")
            .arg(Number(world.x(), locale()), Number(world.y(), locale()));
    }
    return QStringLiteral("x = %1 m, y = %2 m: %3 kW/m²")
        .arg(Number(world.x(), locale()), Number(world.y(), locale()), Number(value, locale()));
}

void ViewWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_kind == ViewKind::Plan) {
        const QString text = hoverText(event->position());
        setToolTip(text);
        emit hovered(text);
    }
    QWidget::mouseMoveEvent(event);
}

void ViewWidget::leaveEvent(QEvent *event)
{
    if (m_kind == ViewKind::Plan)
        emit hovered(QString());
    QWidget::leaveEvent(event);
}

} // namespace explore
