#pragma once

#include "exploration.h"
#include "input_ranges.h"

#include <QLocale>
#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTimer;

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

// The inputs of an exploration: the classic window's quantities and options, the limit L
// with its presets and the envelope option. Every keystroke is checked: a wrong value is
// named beside its field and leaves the input incomplete (valid() false) until it is put
// right; a value the method computes but the classic window would not take gets a note.
// The rule that keeps the point in front of the middle of the face (y follows B / 2) acts
// only on a finished entry: Enter, leaving the field, or a pause in the typing.
class InputsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit InputsPanel(QWidget *parent = nullptr);

    // The input exactly as the fields show it while valid() says so; otherwise the last
    // input that was.
    ExplorationInput input() const { return m_input; }
    bool valid() const;
    // Why the input is incomplete ("Breedte opslag (B): …"), empty while it is valid.
    QString incompleteReason() const;
    QLineEdit *edit(Field field) const;
    // The error beside a field, empty when there is none.
    QString message(Field field) const;
    // The note beside a value outside the classic window's range, empty when there is none.
    QString note(Field field) const;
    QCheckBox *indoor() const { return m_indoor; }
    QCheckBox *compact() const { return m_compact; }
    QCheckBox *screen() const { return m_screen; }
    QCheckBox *envelope() const { return m_envelope; }
    // Types a value into a field and finishes the entry, as the user would.
    void setValue(Field field, double value);
    // Shows a whole input at once (a case opened, an edit undone): every field and option
    // as `input` has it, exactly, with no rule applied to it.
    void setInput(const ExplorationInput &input);
    // The step from `before` to `after` as the undo menu names it: "Breedte opslag (B)
    // wijzigen" for one field, "Binnenopslag aan" for one option, else "Invoer wijzigen".
    QString describeChange(const ExplorationInput &before, const ExplorationInput &after) const;

    // How long typing must pause before the entry counts as finished.
    static constexpr int kPauseMs = 1200;

signals:
    // The input or its validity changed.
    void inputChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Row
    {
        QLabel *label = nullptr;
        QLineEdit *edit = nullptr;
        QLabel *message = nullptr;
        const engine::QuantityRange *range = nullptr;
        QString caption; // without its mnemonic
        QString unit;    // beside the field
        QString unitInText;
        bool wrong = false;
        bool noted = false;
    };
    struct FieldRow;

    QGroupBox *addBox(const QString &title, const FieldRow *rows, int count);
    QGroupBox *buildOptionsBox();
    QGroupBox *buildLimitBox();
    void addRow(QGridLayout *grid, const FieldRow &fieldRow);
    void setTabOrderAsRead();
    void typed(Field field);
    void finishEntry(Field field, bool tidy);
    void applyFinishedRules();
    void stepField(Field field, double steps);
    void optionsChanged();
    void presetChosen(int index);
    void syncPreset();
    void check();
    QString problem(const Row &row, double &value) const;
    void showRowState(Row &row, const QString &message, bool wrong);
    void applyColours();
    QString text(double value) const;
    Row &row(Field field) { return m_rows[size_t(field)]; }
    const Row &row(Field field) const { return m_rows[size_t(field)]; }

    std::array<Row, kFieldCount> m_rows;
    QCheckBox *m_indoor = nullptr;
    QCheckBox *m_compact = nullptr;
    QCheckBox *m_screen = nullptr;
    QCheckBox *m_envelope = nullptr;
    QComboBox *m_presets = nullptr;
    QTimer *m_pause = nullptr;
    Field m_entry = Field::Width;
    ExplorationInput m_input;    // as typed, while valid
    ExplorationInput m_finished; // as of the last finished entry
    bool m_updating = false;
};

} // namespace explore
