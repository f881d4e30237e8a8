#pragma once

#include <QString>

namespace platform {

// Button-and-icon codes and answers of the modal message box, as the window's
// handlers pass and read them.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
};

enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbYes = 6,
    vbNo = 7,
};

// The modal message box seam: prompt, button-and-icon code and title in, the pressed
// button out. The window uses a QMessageBox behind it, tests a recording one.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    virtual int MsgBox(const QString &prompt, int style, const QString &title) = 0;
};

} // namespace platform
