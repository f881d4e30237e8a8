#pragma once

#include <QLineEdit>
#include <QTest>

// Replaces a field's text key by key, as the user types it.
inline void Retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}
