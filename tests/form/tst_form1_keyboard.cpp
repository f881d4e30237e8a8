// The keyboard in the window: Enter presses the button that has the focus, and in a
// numeric input it takes the typed value without pressing anything.

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "recording_shell.h"

#include <QPushButton>

class TestForm1Keyboard : public QObject
{
    Q_OBJECT

private slots:
    void enter_data()
    {
        QTest::addColumn<QString>("control"); // where the focus is
        QTest::addColumn<QString>("typed");   // typed there before the key
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("outcome"); // results | boxes | shell | height H
        const QString calculated = "38,14 44,17 44,76 41,72 36,73";
        QTest::newRow("Return on Bereken") << "Command2"
                                           << "" << int(Qt::Key_Return) << calculated + " |  |  | 8,00";
        QTest::newRow("keypad Enter on Bereken") << "Command2"
                                                 << "" << int(Qt::Key_Enter) << calculated + " |  |  | 8,00";
        QTest::newRow("Return on Help")
            << "Command3"
            << "" << int(Qt::Key_Return) << "     |  | find Hulpschermen.pdf in /thuis | 8,00";
        QTest::newRow("Return in a field takes the value")
            << "CWNumEdit3"
            << "6,5" << int(Qt::Key_Return) << "     |  |  | 6,50";
    }
    void enter()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, outcome);
        RecordingShell shell;
        shell.files << QStringLiteral("/thuis/Hulpschermen.pdf");
        shell.programs.insert(QStringLiteral("pdf"), QStringLiteral("/usr/bin/lezer"));
        FormFixture fixture(true, FormServices {nullptr, &shell, {}});
        QWidget *target = fixture.form->findChild<QWidget *>(control);
        QVERIFY(target);
        auto *edit = qobject_cast<CWNumEdit *>(target);
        QWidget *focused = edit ? edit->lineEdit() : target;
        focused->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(focused, typed);
        const Qt::KeyboardModifiers keypad = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(focused, Qt::Key(key), keypad);

        QStringList seen;
        seen << fixture.results();
        seen << fixture.messageBox.shown.join('/');
        seen << shell.log.filter(QStringLiteral("find")).join('/');
        seen << fixture.form->CWNumEdit3->lineEdit()->text();
        QCOMPARE(seen.join(QStringLiteral(" | ")), outcome);
        QVERIFY(fixture.guard.unexpected().isEmpty());
    }
};

QTEST_MAIN(TestForm1Keyboard)
#include "tst_form1_keyboard.moc"
