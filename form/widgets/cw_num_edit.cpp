#include "cw_num_edit.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <cmath>
#include <optional>

namespace widgets {

namespace {

constexpr int ButtonWidth = 9;
// QLineEdit keeps this much room on each side of its text, and a right-aligned text
// two pixels more off its right side (for the cursor).
constexpr int LineEditMargin = 2;
constexpr int RightAlignedReserve = 2;
// Below this size the digits of a number stop being readable on screen.
constexpr qreal SmallestPointSize = 6;
constexpr qreal PointSizeStep = 0.25;
const QString NarrowFamily = QStringLiteral("Liberation Sans Narrow");

// The key codes the key-typed notification reports for the keys that carry no character.
constexpr int vbKeyBack = 8;
constexpr int vbKeyUp = 38;
constexpr int vbKeyDown = 40;
constexpr int vbKeyDelete = 46;
// The mouse buttons as the mouse notification reports them.
enum MouseButtonCode : int { vbNoButton = 0, vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };

// The field's own font when the text fits, else its narrow cut, made smaller step by
// step; nullopt when not even the smallest narrow size holds the text.
std::optional<QFont> fittingFont(const QFont &own, const QString &text, int room, const QPaintDevice *device)
{
    if (QFontMetrics(own, device).horizontalAdvance(text) <= room)
        return own;
    QFont narrow = own;
    narrow.setFamily(NarrowFamily);
    for (qreal size = own.pointSizeF(); size >= SmallestPointSize; size -= PointSizeStep) {
        narrow.setPointSizeF(size);
        if (QFontMetrics(narrow, device).horizontalAdvance(text) <= room)
            return narrow;
    }
    return std::nullopt;
}

QString localeSeparator()
{
    return QLocale().decimalPoint();
}

// What the field takes while it is typed in: a leading minus, digits, one decimal
// separator (the user's or a point) and digits; whether the text is a whole number is
// decided when it is taken. Any other text is refused, so a key that would make it is
// ignored. Read by hand: the fields are many, and a compiled pattern each costs the
// window's start more than the reading ever does.
class TypingValidator : public QValidator
{
public:
    explicit TypingValidator(QObject *parent)
        : QValidator(parent)
        , m_separators(QStringLiteral(".") + localeSeparator())
    { }

    State validate(QString &text, int &position) const override
    {
        const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
        qsizetype at = 0;
        if (at < text.size() && text.at(at) == u'-')
            ++at;
        while (at < text.size() && isDigit(text.at(at)))
            ++at;
        if (at < text.size() && m_separators.contains(text.at(at))) {
            ++at;
            while (at < text.size() && isDigit(text.at(at)))
                ++at;
        }
        if (at == text.size())
            return Acceptable;
        position = int(text.size());
        return Invalid;
    }

private:
    QString m_separators;
};

bool parseTyped(QString text, double *value)
{
    text.replace(localeSeparator(), QStringLiteral("."));
    bool ok = false;
    const double parsed = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

// Steps of 0.1 must land on 0.3, not on 0.30000000000000004.
double tidyStep(double value)
{
    return std::round(value * 1e10) / 1e10;
}

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return vbLeftButton;
    case Qt::RightButton:
        return vbRightButton;
    case Qt::MiddleButton:
        return vbMiddleButton;
    default:
        return vbNoButton;
    }
}

bool editsTheField(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    default:
        return !key->text().isEmpty() && key->text().at(0).isPrint();
    }
}

} // namespace

int vbShiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

CWNumEdit::CWNumEdit(QWidget *parent)
    : QFrame(parent)
    , m_edit(new QLineEdit(this))
    , m_up(new StepButton(Qt::UpArrow, this))
    , m_down(new StepButton(Qt::DownArrow, this))
    , m_repeatTimer(new QTimer(this))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_edit);

    m_edit->setFrame(false);
    // The field is 41 pixels wide: the text takes the line edit's own inner margins
    // too, keeping one pixel off the frame and one off the buttons.
    m_edit->setTextMargins(-1, 0, -3, 0);
    m_edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_edit->setValidator(new TypingValidator(m_edit));
    m_edit->setContextMenuPolicy(Qt::NoContextMenu);

    for (QWidget *part :
         {static_cast<QWidget *>(m_edit), static_cast<QWidget *>(m_up), static_cast<QWidget *>(m_down)})
        part->installEventFilter(this);

    connect(m_up, &StepButton::pressed, this, [this] { startRepeat(+1); });
    connect(m_down, &StepButton::pressed, this, [this] { startRepeat(-1); });
    connect(m_up, &StepButton::released, this, &CWNumEdit::stopRepeat);
    connect(m_down, &StepButton::released, this, &CWNumEdit::stopRepeat);
    connect(m_repeatTimer, &QTimer::timeout, this, &CWNumEdit::repeatStep);

    showValue();
}

void CWNumEdit::setValue(double value)
{
    writeValue(value, true);
}

void CWNumEdit::setRange(double minimum, double maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

void CWNumEdit::setSteps(double step, double largerStep)
{
    m_step = step;
    m_largerStep = largerStep;
}

void CWNumEdit::setFormat(const QString &format)
{
    m_format = format;
    showValue();
}

QString CWNumEdit::displayText(double value) const
{
    const QString digits = QString::number(std::abs(value), 'f', 2);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    QString whole = digits.left(point);
    const qsizetype formatPoint = m_format.indexOf(QLatin1Char('.'));
    const bool digitForced = formatPoint > 0 && m_format.at(formatPoint - 1) == QLatin1Char('0');
    if (whole == QLatin1String("0") && !digitForced)
        whole.clear();
    const bool negative = value < 0 && digits != QLatin1String("0.00");
    return (negative ? QStringLiteral("-") : QString()) + whole + localeSeparator() + digits.mid(point + 1);
}

bool CWNumEdit::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPointF at = mouse->position();
        emit mouseButtonPressed(buttonCode(mouse->button()), vbShiftState(mouse->modifiers()), at.x(),
                                at.y());
        break;
    }
    case QEvent::KeyPress: {
        if (watched != m_edit)
            break;
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
            emit keyTyped(key->key() == Qt::Key_Up ? vbKeyUp : vbKeyDown);
            stepBy(key->key() == Qt::Key_Up ? +1 : -1, m_step);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            takeTypedText();
            return true;
        case Qt::Key_Escape:
            showValue();
            return true;
        default:
            if (editsTheField(key))
                emit keyTyped(key->text().isEmpty()
                                  ? (key->key() == Qt::Key_Backspace ? vbKeyBack : vbKeyDelete)
                                  : key->text().at(0).unicode());
            break;
        }
        break;
    }
    case QEvent::FocusIn:
        // A value shown cut short is written out whole for editing.
        if (watched == m_edit && m_cutShort)
            showValue();
        // Arriving by keyboard or with the window, the whole value is selected so that
        // typing replaces it; a click places the cursor.
        if (watched == m_edit && static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason)
            m_edit->selectAll();
        break;
    case QEvent::FocusOut: {
        // A message box or a menu taking the focus is not the user leaving the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (watched == m_edit && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            takeTypedText();
            showValue(); // from its start, also when the typed text was taken with Enter
            emit focusLeft();
        }
        break;
    }
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

void CWNumEdit::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        stopRepeat();
    if (event->type() == QEvent::FontChange)
        showValue();
    if (event->type() == QEvent::LocaleChange) {
        m_edit->setValidator(new TypingValidator(m_edit));
        showValue();
    }
    QFrame::changeEvent(event);
}

void CWNumEdit::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutChildren();
    showValue();
}

void CWNumEdit::layoutChildren()
{
    const QRect inside = contentsRect();
    const int buttonsLeft = inside.right() + 1 - ButtonWidth;
    const int upHeight = inside.height() / 2;
    m_edit->setGeometry(inside.left(), inside.top(), buttonsLeft - inside.left(), inside.height());
    m_up->setGeometry(buttonsLeft, inside.top(), ButtonWidth, upHeight);
    m_down->setGeometry(buttonsLeft, inside.top() + upHeight, ButtonWidth, inside.height() - upHeight);
}

void CWNumEdit::takeTypedText()
{
    const QString text = m_edit->text();
    if (m_cutShort || text == displayText(m_value))
        return; // untouched: keep the full value behind its two shown decimals
    double typed = 0;
    if (!parseTyped(text, &typed)) {
        showValue();
        return;
    }
    writeValue(typed, false);
}

void CWNumEdit::stepBy(int direction, double amount)
{
    takeTypedText();
    const double stepped = tidyStep(m_value + direction * amount);
    writeValue(std::clamp(stepped, m_minimum, m_maximum), false);
}

void CWNumEdit::startRepeat(int direction)
{
    m_edit->setFocus(Qt::MouseFocusReason);
    m_repeatDirection = direction;
    m_repeatCount = 0;
    stepBy(direction, m_step);
    m_repeatTimer->start(RepeatDelay);
}

void CWNumEdit::repeatStep()
{
    // A message box that opened meanwhile took the mouse: the button was let go.
    if (QApplication::activeModalWidget()) {
        m_up->release();
        m_down->release();
        stopRepeat();
        return;
    }
    ++m_repeatCount;
    m_repeatTimer->setInterval(RepeatInterval);
    stepBy(m_repeatDirection, m_repeatCount == 1 ? m_step : m_largerStep);
}

void CWNumEdit::stopRepeat()
{
    m_repeatTimer->stop();
    m_repeatDirection = 0;
}

void CWNumEdit::writeValue(double value, bool always)
{
    const double previous = m_value;
    m_value = value;
    showValue();
    if (always || value != previous)
        emit valueChanged(value, previous, value < m_minimum || value > m_maximum);
}

int CWNumEdit::textRoom() const
{
    const QMargins margins = m_edit->textMargins();
    return m_edit->contentsRect().width() - margins.left() - margins.right() - 2 * LineEditMargin
        - RightAlignedReserve;
}

// Every digit of a value must be readable: a field that showed the tail of 10000.00
// or cut the minus off -100.00 would be copied as another number. The text is fitted
// in the narrow cut and smaller sizes; a number too long even for those (only a typed
// one can be) shows its start and an ellipsis until the field is edited again.
void CWNumEdit::showValue()
{
    const QString text = displayText(m_value);
    const int room = textRoom();
    m_cutShort = false;
    if (room <= 0) { // not laid out yet
        m_edit->setText(text);
        return;
    }
    const std::optional<QFont> fitting = fittingFont(font(), text, room, m_edit);
    QFont shown = fitting.value_or(font());
    if (!fitting) {
        shown.setFamily(NarrowFamily);
        shown.setPointSizeF(SmallestPointSize);
    }
    m_edit->setFont(shown);
    if (fitting || m_edit->hasFocus()) {
        m_edit->setText(text);
    } else {
        m_edit->setText(QFontMetrics(shown, m_edit).elidedText(text, Qt::ElideRight, room));
        m_cutShort = true;
    }
    if (!m_edit->hasFocus())
        m_edit->setCursorPosition(0);
}

StepButton::StepButton(Qt::ArrowType arrow, QWidget *parent)
    : QWidget(parent)
    , m_arrow(arrow)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StepButton::release()
{
    m_down = false;
    update();
}

void StepButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), colours.button());
    painter.setPen(m_down ? colours.dark().color() : colours.light().color());
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(m_down ? colours.light().color() : colours.dark().color());
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());

    const QPointF centre = QRectF(rect()).center() + (m_down ? QPointF(0.5, 0.5) : QPointF());
    const qreal half = std::min(3.0, std::max(1.5, (height() - 3) / 2.0));
    const qreal rise = m_arrow == Qt::UpArrow ? -half / 2 : half / 2;
    const QPolygonF arrow {{centre.x() - half, centre.y() - rise},
                           {centre.x() + half, centre.y() - rise},
                           {centre.x(), centre.y() + rise}};
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isEnabled() ? colours.buttonText() : colours.mid());
    painter.drawPolygon(arrow);
}

void StepButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_down = true;
    update();
    emit pressed();
}

void StepButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_down)
        return;
    m_down = false;
    update();
    emit released();
}

} // namespace widgets
