// The input rules of Form1: which notification of which input runs which handler,
// the screen and indoor/outdoor switches, the width change and the three checks.

#include "form1.h"

#include "cw_num_edit.h"
#include "form_texts.h"
#include "message_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

using Handler = void (Form1::*)();

struct NumEditHandlers
{
    const char *input;
    Handler valueChanged;
    Handler keyTyped;
    Handler mouseButton;
    Handler focusLeft;
};

// clang-format off
const NumEditHandlers InputHandlers[] = {
    // input            value changed                     key typed             mouse button          focus left
    {"CWNumEdit1",    &Form1::CWNumEdit1_ValueChanged, &Form1::ClearResults, &Form1::ClearResults, nullptr},                      // B
    {"CWNumEdit2",    &Form1::ClearResults,            &Form1::ClearResults, nullptr,              nullptr},                      // D
    {"CWNumEdit3",    &Form1::ClearResults,            &Form1::ClearResults, nullptr,              nullptr},                      // H
    {"CWNumEdit4",    &Form1::ClearResults,            &Form1::ClearResults, nullptr,              &Form1::CWNumEdit4_LostFocus}, // x
    {"CWNumEdit5",    &Form1::ClearResults,            &Form1::ClearResults, &Form1::ClearResults, nullptr},                      // hs
    {"CWNumEdit6",    nullptr,                         &Form1::ClearResults, &Form1::ClearResults, &Form1::CWNumEdit6_LostFocus}, // xs
    {"CWNumEdit7",    nullptr,                         &Form1::ClearResults, &Form1::ClearResults, &Form1::CWNumEdit7_LostFocus}, // K
    {"CWNumEdit8(0)", &Form1::ClearResults,            &Form1::ClearResults, nullptr,              nullptr},                      // heights
    {"CWNumEdit8(1)", &Form1::ClearResults,            &Form1::ClearResults, nullptr,              nullptr},
    {"CWNumEdit8(2)", &Form1::ClearResults,            &Form1::ClearResults, nullptr,              nullptr},
    {"CWNumEdit8(3)", &Form1::ClearResults,            &Form1::ClearResults, nullptr,              nullptr},
    {"CWNumEdit8(4)", &Form1::ClearResults,            &Form1::ClearResults, nullptr,              nullptr},
    {"CWNumEdit9",    &Form1::ClearResults,            &Form1::ClearResults, nullptr,              nullptr},                      // y
};
// clang-format on

} // namespace

void Form1::connectHandlers()
{
    for (const NumEditHandlers &row : InputHandlers) {
        auto *edit = findChild<CWNumEdit *>(QString::fromLatin1(row.input));
        Q_ASSERT(edit);
        if (Handler handler = row.valueChanged)
            connect(edit, &CWNumEdit::valueChanged, this, [this, handler] { (this->*handler)(); });
        if (Handler handler = row.keyTyped)
            connect(edit, &CWNumEdit::keyTyped, this, [this, handler] { (this->*handler)(); });
        if (Handler handler = row.mouseButton)
            connect(edit, &CWNumEdit::mouseButtonPressed, this, [this, handler] { (this->*handler)(); });
        if (Handler handler = row.focusLeft)
            connect(edit, &CWNumEdit::focusLeft, this, [this, handler] { (this->*handler)(); });
    }

    connect(Check1, &QCheckBox::clicked, this, &Form1::Check1_Click);
    connect(Check2, &QCheckBox::clicked, this, &Form1::Check2_Click);
    connect(Check3, &QCheckBox::clicked, this, &Form1::Check3_Click);
    connect(Combo1, &QComboBox::editTextChanged, this, &Form1::Combo1_Change);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
}

bool Form1::isChecked(const QCheckBox *box) const
{
    return box->checkState() == Qt::Checked;
}

void Form1::showInputError(const char *message)
{
    m_services.messageBox->MsgBox(QString::fromUtf8(message), platform::vbOKOnly | platform::vbInformation,
                                  QString::fromUtf8(form_texts::InputErrorTitle));
}

void Form1::ClearResults()
{
    for (QLineEdit *result : Text2)
        result->setText(QString());
}

// Screen switch: the screen's inputs follow "Afscherming aanwezig"; switching it on
// pulls a screen that stands beyond the assessment point back to the point.
void Form1::Check1_Click()
{
    if (isChecked(Check1)) {
        setScreenInputsEnabled(true);
        if (isChecked(Check1) && CWNumEdit6->Value() > CWNumEdit4->Value()) {
            CWNumEdit6->setValue(CWNumEdit4->Value());
            showInputError(form_texts::PointCloserThanScreen);
        }
    }
    if (!isChecked(Check1))
        setScreenInputsEnabled(false);
}

void Form1::Check2_Click()
{
    ClearResults();
}

// Indoor/outdoor switch: a building has no screen, no compact stacking and one
// assessment point; values and check marks stay as they are.
void Form1::Check3_Click()
{
    if (!isChecked(Check3)) {
        if (isChecked(Check1))
            setScreenInputsEnabled(true);
        setOutdoorOptionsEnabled(true);
    }
    if (isChecked(Check3)) {
        setScreenInputsEnabled(false);
        setOutdoorOptionsEnabled(false);
    }
}

void Form1::setScreenInputsEnabled(bool enabled)
{
    CWNumEdit5->setEnabled(enabled);
    CWNumEdit6->setEnabled(enabled);
    CWNumEdit7->setEnabled(enabled);
}

// Compact stacking, the screen and points 2 to 5 belong to an outdoor pile only.
void Form1::setOutdoorOptionsEnabled(bool enabled)
{
    Check2->setEnabled(enabled);
    Check1->setEnabled(enabled);
    for (int i = 1; i <= 4; ++i)
        CWNumEdit8[i]->setEnabled(enabled);
}

void Form1::Combo1_Change()
{
    ClearResults();
}

// A new width puts the assessment point opposite the middle of the storage side.
void Form1::CWNumEdit1_ValueChanged()
{
    CWNumEdit9->setValue(CWNumEdit1->Value() / 2);
}

// Check of x: with a screen, the point may not lie between the storage and the screen.
void Form1::CWNumEdit4_LostFocus()
{
    if (isChecked(Check1) && CWNumEdit6->Value() > CWNumEdit4->Value()) {
        CWNumEdit4->setValue(CWNumEdit6->Value());
        showInputError(form_texts::PointCloserThanScreen);
    }
}

// Check of xs: the screen stands between the storage and the point.
void Form1::CWNumEdit6_LostFocus()
{
    if (CWNumEdit6->Value() > CWNumEdit4->Value()) {
        CWNumEdit6->setValue(CWNumEdit4->Value());
        showInputError(form_texts::ScreenTooFar);
    }
}

// Check of K: an efficiency lies between 0 and 1; a value outside is set to the nearer end.
void Form1::CWNumEdit7_LostFocus()
{
    const double K = CWNumEdit7->Value();
    if (K > 1 || K < 0) {
        CWNumEdit7->setValue(K > 1 ? 1 : 0);
        showInputError(form_texts::EfficiencyOutOfRange);
        CWNumEdit7->setEnabled(true);
    }
}
