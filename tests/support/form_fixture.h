#pragma once

#include "form1.h"
#include "modal_dialog_guard.h"
#include "recording_message_box.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <memory>

// A headless window for one test: the locale forced, a recording message box, shown and
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

    RecordingMessageBox messageBox;
    ModalDialogGuard guard;
    std::unique_ptr<Form1> form;
};
