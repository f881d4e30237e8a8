#pragma once

#include "form1.h"
#include "modal_dialog_guard.h"
#include "recording_message_box.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <memory>

// A headless window for one test: offscreen (set by CTest), the locale forced, the
// test's services with a recording message box unless it brings its own, shown and
// active, and a guard against real modal dialogs.
class FormFixture
{
public:
    explicit FormFixture(bool dutch = false, FormServices services = {})
    {
        QLocale::setDefault(dutch ? QLocale(QLocale::Dutch, QLocale::Netherlands) : QLocale::c());
        if (!services.messageBox)
            services.messageBox = &messageBox;
        form = std::make_unique<Form1>(services);
        form->show();
        form->activateWindow();
        active = QTest::qWaitForWindowActive(form.get());
    }

    // The five result boxes, top to bottom, separated by blanks.
    QString results() const
    {
        QStringList texts;
        for (const QLineEdit *box : form->Text2)
            texts << box->text();
        return texts.join(' ');
    }

    RecordingMessageBox messageBox;
    ModalDialogGuard guard;
    std::unique_ptr<Form1> form;
    bool active = false;
};
