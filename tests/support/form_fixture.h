#pragma once

#include "form1.h"
#include "modal_dialog_guard.h"
#include "recording_message_box.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <memory>

// A headless window for one test: offscreen (set by CTest), the locale forced, a
// recording message box (or the test's own) behind it, shown and active, and a guard
// against real modal dialogs.
class FormFixture
{
public:
    explicit FormFixture(bool dutch = false, platform::MessageBox *ownMessageBox = nullptr)
    {
        QLocale::setDefault(dutch ? QLocale(QLocale::Dutch, QLocale::Netherlands) : QLocale::c());
        form = std::make_unique<Form1>(FormServices{ownMessageBox ? ownMessageBox : &messageBox, nullptr, {}});
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
