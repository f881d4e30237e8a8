#pragma once

#include "form1.h"
#include "message_box.h"
#include "modal_dialog_guard.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <functional>
#include <memory>

// Writes down each box asked for as "title (style): text", followed by what the test
// wants to see behind it at that moment, and answers OK.
class NotingMessageBox : public platform::MessageBox
{
public:
    int MsgBox(const QString &prompt, int style, const QString &title) override
    {
        shown << QStringLiteral("%1 (%2): %3%4").arg(title).arg(style).arg(prompt, behind ? behind() : QString());
        return platform::vbOK;
    }
    QStringList shown;
    std::function<QString()> behind;
};

// A headless window for one test: the locale forced, a noting message box, shown and
// active, and a guard against real modal dialogs.
class FormFixture
{
public:
    explicit FormFixture(bool dutch = false, FormServices services = {})
    {
        QLocale::setDefault(dutch ? QLocale(QLocale::Dutch, QLocale::Netherlands) : QLocale::c());
        services.messageBox = &messageBox;
        form = std::make_unique<Form1>(services);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("the window did not become active");
    }

    // The five result boxes, top to bottom, separated by blanks.
    QString results() const
    {
        QStringList texts;
        for (const QLineEdit *box : form->Text2)
            texts << box->text();
        return texts.join(' ');
    }
    // A click where a check box has its mark and a button its face.
    static void click(QWidget *control) { QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, 8)); }

    NotingMessageBox messageBox;
    ModalDialogGuard guard;
    std::unique_ptr<Form1> form;
};
