#pragma once

#include "message_box.h"

#include <QList>
#include <QString>

// Remembers every message box the program asks for and answers with a preset button,
// so handlers that show boxes run headless without blocking.
class RecordingMessageBox : public platform::MessageBox
{
public:
    struct Shown
    {
        QString prompt;
        int style = 0;
        QString title;
    };

    int MsgBox(const QString &prompt, int style, const QString &title) override
    {
        shown.append({prompt, style, title});
        return answers.isEmpty() ? platform::vbOK : answers.takeFirst();
    }

    QList<Shown> shown;
    QList<int> answers; // answered in order; OK once they run out
};
