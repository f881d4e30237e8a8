#pragma once

#include "message_box.h"

#include <QStringList>

#include <functional>

// Writes down each box the program asks for as "title (style): text", followed by what the
// test wants to see behind it at that moment, and answers with preset buttons, so handlers
// that show boxes run headless without blocking.
class RecordingMessageBox : public platform::MessageBox
{
public:
    int MsgBox(const QString &prompt, int style, const QString &title) override
    {
        shown << QStringLiteral("%1 (%2): %3%4")
                     .arg(title)
                     .arg(style)
                     .arg(prompt, behind ? behind() : QString());
        return answers.isEmpty() ? platform::vbOK : answers.takeFirst();
    }
    QStringList shown;
    QList<int> answers; // answered in order; OK once they run out
    std::function<QString()> behind;
};
