#pragma once

#include <QFrame>
#include <QString>

class QLineEdit;
class QTimer;

namespace widgets {

class StepButton;

// The window's numeric input: a single-line field with up/down buttons holding a
// double. Typed text is taken on Enter or when the field is left; a typed value
// outside minimum..maximum is kept so that the window's own checks can correct it,
// while the buttons and arrow keys never step outside the bounds.
class CWNumEdit : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(double Value READ Value WRITE setValue)

public:
    explicit CWNumEdit(QWidget *parent = nullptr);

    double Value() const { return m_value; }
    // A value written by the program always raises valueChanged, as the field's
    // listeners treat it as an edit.
    void setValue(double value);

    void setRange(double minimum, double maximum);
    void setSteps(double step, double largerStep);
    // "#.#0" or "0.#0": two decimals; a '0' before the separator forces a digit there.
    void setFormat(const QString &format);

    // The text the field shows for a value in its format and the user's locale.
    QString displayText(double value) const;
    QLineEdit *lineEdit() const { return m_edit; }
    StepButton *upButton() const { return m_up; }

    // How long a held button waits before repeating, and between repeats (ms).
    static constexpr int RepeatDelay = 400;
    static constexpr int RepeatInterval = 80;

signals:
    void valueChanged(double value, double previousValue, bool outOfRange);
    void keyTyped(int keyCode);
    void mouseButtonPressed(int button, int shift, double x, double y);
    void focusLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void takeTypedText();
    void stepBy(int direction, double amount);
    void startRepeat(int direction);
    void repeatStep();
    void stopRepeat();
    void writeValue(double value, bool always);
    void showValue();
    int textRoom() const; // pixels the shown text may take
    void layoutChildren();

    QLineEdit *m_edit;
    StepButton *m_up;
    StepButton *m_down;
    QTimer *m_repeatTimer;
    int m_repeatDirection = 0;
    int m_repeatCount = 0;
    bool m_cutShort = false; // the text shows only the value's start
    double m_value = 0;
    double m_minimum = 0;
    double m_maximum = 100;
    double m_step = 1;
    double m_largerStep = 5;
    QString m_format = QStringLiteral("#.#0");
};

// One of the two arrow buttons of the numeric input, drawn small enough for a
// 17-pixel-high field.
class StepButton : public QWidget
{
    Q_OBJECT

public:
    StepButton(Qt::ArrowType arrow, QWidget *parent);
    void release();

signals:
    void pressed();
    void released();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Qt::ArrowType m_arrow;
    bool m_down = false;
};

// The shift state as key and mouse notifications report it: Shift 1, Ctrl 2, Alt 4.
int vbShiftState(Qt::KeyboardModifiers modifiers);

} // namespace widgets
