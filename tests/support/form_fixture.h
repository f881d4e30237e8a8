#pragma once

#include "form1.h"
#include "modal_dialog_guard.h"
#include "recording_message_box.h"

#include <QLocale>
#include <QTest>

#include <memory>

// A headless window for one test: offscreen, a recording message box behind it, the
// locale forced, and a guard that fails on any real modal dialog.
class FormFixture
{
public:
    explicit FormFixture(QLocale::Language language = QLocale::C,
                         QLocale::Territory territory = QLocale::AnyTerritory,
                         platform::MessageBox *otherMessageBox = nullptr)
    {
        QLocale::setDefault(QLocale(language, territory));
        FormServices services;
        services.messageBox = otherMessageBox ? otherMessageBox : &messageBox;
        form = std::make_unique<Form1>(services);
    }

    // Shows the window and waits until it takes keyboard focus.
    bool show()
    {
        form->show();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get());
    }

    RecordingMessageBox messageBox;
    ModalDialogGuard guard;
    std::unique_ptr<Form1> form;
};
