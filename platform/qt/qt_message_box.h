#pragma once

#include "message_box.h"

#include <QPointer>

class QWidget;

namespace platform {

// The message box the window shows: a modal QMessageBox with the icon, buttons and
// default button that the style code asks for, centred on the owning window.
class QtMessageBox : public MessageBox
{
public:
    explicit QtMessageBox(QWidget *owner = nullptr);

    void setOwner(QWidget *owner) { m_owner = owner; }
    int MsgBox(const QString &prompt, int style, const QString &title) override;

    // The prompt as shown: the handlers' line feed + carriage return pair (and a
    // lone carriage return) becomes one line break.
    static QString displayPrompt(const QString &prompt);

private:
    QPointer<QWidget> m_owner;
};

} // namespace platform
