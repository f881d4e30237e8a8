#pragma once

#include "exploration.h"

#include <QLocale>
#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace explore {

enum class Field {
    Width,
    Depth,
    Height,
    Distance,
    Position,
    ScreenHeight,
    ScreenDistance,
    Efficiency,
    Point1,
    Point2,
    Point3,
    Point4,
    Point5,
    Limit,
};
constexpr int kFieldCount = 14;

// The inputs of an exploration: the classic window's quantities, options and limits,
// the limit L with its presets and the envelope option. Every edit is checked at once;
// a wrong value gets a message beside its field and the last valid input stays in force.
class InputsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit InputsPanel(QWidget *parent = nullptr);

    ExplorationInput input() const { return m_input; }
    bool valid() const;
    QLineEdit *edit(Field field) const;
    QString message(Field field) const;
    QCheckBox *indoor() const { return m_indoor; }
    QCheckBox *compact() const { return m_compact; }
    QCheckBox *screen() const { return m_screen; }
    QCheckBox *envelope() const { return m_envelope; }
    QComboBox *limitPresets() const { return m_presets; }
    // Writes a value as the user would type it, checks it and applies it.
    void setValue(Field field, double value);

signals:
    // An edit: input() is new when valid() says so, else the last valid input.
    void inputChanged();

private:
    struct Row
    {
        QLabel *label = nullptr;
        QLineEdit *edit = nullptr;
        QLabel *unit = nullptr;
        QLabel *message = nullptr;
        double minimum = 0;
        double maximum = 0;
        double step = 1;
        QString unitText;
    };

    void addRow(QGridLayout *grid, Field field, const QString &caption, const QString &unit,
                const QString &tip, double minimum, double maximum, double step);
    void edited(Field field);
    void stepField(Field field, double steps);
    void optionsChanged();
    void presetChosen(int index);
    void syncPreset();
    bool checkAll();
    QString problem(Field field, double &value) const;
    void showMessage(Field field, const QString &text);
    QString text(double value) const;
    QLocale numbers() const;
    bool eventFilter(QObject *watched, QEvent *event) override;

    std::array<Row, kFieldCount> m_rows;
    QCheckBox *m_indoor = nullptr;
    QCheckBox *m_compact = nullptr;
    QCheckBox *m_screen = nullptr;
    QCheckBox *m_envelope = nullptr;
    QComboBox *m_presets = nullptr;
    ExplorationInput m_input;
    bool m_updating = false;
};

} // namespace explore
