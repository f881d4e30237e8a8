#include "qt_message_box.h"

#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

constexpr int IconMask = 0x70;
constexpr int ButtonMask = 0x0f;
constexpr int DefaultButtonMask = 0x300;

QMessageBox::Icon iconFor(int style)
{
    switch (style & IconMask) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QtMessageBox::QtMessageBox(QWidget *owner)
    : m_owner(owner)
{ }

QString QtMessageBox::displayPrompt(const QString &prompt)
{
    QString shown = prompt;
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

int QtMessageBox::MsgBox(const QString &prompt, int style, const QString &title)
{
    QMessageBox box(iconFor(style), title, displayPrompt(prompt), QMessageBox::NoButton, m_owner.data());
    const bool yesNo = (style & ButtonMask) == vbYesNo;
    QPushButton *first = nullptr;
    QPushButton *second = nullptr;
    if (yesNo) {
        first = box.addButton(QMessageBox::Yes);
        second = box.addButton(QMessageBox::No);
        box.setEscapeButton(second);
    } else {
        first = box.addButton(QMessageBox::Ok);
        box.setEscapeButton(first);
    }
    const bool secondIsDefault = (style & DefaultButtonMask) == vbDefaultButton2 && second;
    box.setDefaultButton(secondIsDefault ? second : first);
    box.exec();

    if (!yesNo)
        return vbOK;
    return box.clickedButton() == first ? vbYes : vbNo;
}

} // namespace platform
