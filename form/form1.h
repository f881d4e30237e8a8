#pragma once

#include "calculate.h"
#include "calculation_state.h"
#include "form_services.h"

#include <QImage>
#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class FrameBox;
class PictureBox;

namespace widgets {
class CWNumEdit;
}
using widgets::CWNumEdit;

// The one window of the calculator: the controls of its control table, the input
// rules that couple them, and the "Bereken", "Print" and "Help" commands. The
// controls keep their designer names so handlers read like the window's description;
// they are public so that tests and the app can work the window as a user would.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(const FormServices &services, QWidget *parent = nullptr);
    ~Form1() override;

    // Handlers, named after control and notification.
    bool Command2_Click(); // false when the inputs give no defined result
    void Command1_Click();
    void Command3_Click();
    void Form_KeyDown(int KeyCode, int Shift);
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Combo1_Change();
    void CWNumEdit1_ValueChanged();
    void CWNumEdit4_LostFocus();
    void CWNumEdit6_LostFocus();
    void CWNumEdit7_LostFocus();
    void ClearResults();

    // The logo Picture1 holds, as the report prints it.
    QImage picture1Image() const;

    // Frames
    FrameBox *Frame1 = nullptr;
    FrameBox *Frame2 = nullptr;
    FrameBox *Frame3 = nullptr;
    // Numeric inputs: B, D, H, x, hs, xs, K, the five heights, y
    CWNumEdit *CWNumEdit1 = nullptr;
    CWNumEdit *CWNumEdit2 = nullptr;
    CWNumEdit *CWNumEdit3 = nullptr;
    CWNumEdit *CWNumEdit4 = nullptr;
    CWNumEdit *CWNumEdit5 = nullptr;
    CWNumEdit *CWNumEdit6 = nullptr;
    CWNumEdit *CWNumEdit7 = nullptr;
    std::array<CWNumEdit *, 5> CWNumEdit8 {};
    CWNumEdit *CWNumEdit9 = nullptr;
    // Options, regulation, results, commands, pictures
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QComboBox *Combo1 = nullptr;
    std::array<QLineEdit *, 5> Text2 {};
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    PictureBox *Image1 = nullptr;
    PictureBox *Image2 = nullptr;
    PictureBox *Picture1 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls(); // the control table
    // Runs the calculation on the controls' values and shows its result; false (with the
    // message shown) when the inputs give no defined result.
    bool calculate(engine::CalculationInput &input, engine::CalculationResult &result);
    void connectHandlers(); // the handler table
    void showInputError(const char *message);
    bool isChecked(const QCheckBox *box) const;
    void setScreenInputsEnabled(bool enabled);
    void setOutdoorOptionsEnabled(bool enabled);

    FormServices m_services;
    engine::CalculationState m_state;
};

// The key code the window's key handler sees for a Qt key (F1 = 112, letters and
// digits as their capitals' codes); 0 for keys it has no code for.
int vbKeyCode(int qtKey);
