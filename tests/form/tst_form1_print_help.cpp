// "Print" and "Help" as the window starts them: Print only after a defined calculation
// and only on a printer it could get; Help from the button and from F1 in any control.

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "recording_printer.h"
#include "recording_shell.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>

class TestForm1PrintHelp : public QObject
{
    Q_OBJECT

private slots:
    void print_data()
    {
        QTest::addColumn<double>("height");  // 0.5 leaves the flame below the pile top
        QTest::addColumn<QString>("printer"); // what the factory gives
        QTest::addColumn<QString>("boxes");   // titles of the message boxes shown
        QTest::newRow("printed") << 8.0 << "Recorder" << "PRINTER MESSAGE";
        QTest::newRow("undefined case stops") << 0.5 << "Recorder" << "Invoerfout";
        QTest::newRow("no printer") << 8.0 << "none" << "";
        QTest::newRow("printer cannot start") << 8.0 << "throws" << "";
    }
    void print()
    {
        QFETCH(double, height);
        QFETCH(QString, printer);
        QFETCH(QString, boxes);
        int made = 0;
        FormFixture fixture(false, FormServices{nullptr, nullptr, [&]() -> std::unique_ptr<platform::Printer> {
            ++made;
            if (printer == QLatin1String("throws"))
                throw platform::PrinterError("no default printer");
            if (printer == QLatin1String("none"))
                return nullptr;
            return std::make_unique<RecordingPrinter>();
        }});
        fixture.form->CWNumEdit1->setValue(8.7);
        fixture.form->CWNumEdit2->setValue(8.7);
        fixture.form->CWNumEdit3->setValue(height);
        QTest::mouseClick(fixture.form->Command1, Qt::LeftButton);
        QStringList titles;
        for (const auto &box : fixture.messageBox.shown)
            titles << box.title;
        QCOMPARE(titles.join(' '), boxes);
        QCOMPARE(made, height > 1 ? 1 : 0);
        QVERIFY(fixture.guard.unexpected().isEmpty());
    }

    void help()
    {
        RecordingShell shell;
        FormFixture fixture(false, FormServices{nullptr, &shell, {}});
        QTest::mouseClick(fixture.form->Command3, Qt::LeftButton);
        QCOMPARE(shell.lookups.size(), 1);
        // F1 with or without Shift, Ctrl or Alt reaches the window from any control; other
        // keys go on to the control.
        const QList<QPair<QWidget *, Qt::KeyboardModifiers>> presses{
            {fixture.form->CWNumEdit4->lineEdit(), Qt::NoModifier}, {fixture.form->Check1, Qt::ShiftModifier},
            {fixture.form->Command2, Qt::ControlModifier}, {fixture.form->CWNumEdit8[4]->lineEdit(), Qt::AltModifier}};
        for (const auto &[control, modifiers] : presses) {
            control->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1, modifiers);
        }
        QCOMPARE(shell.lookups.size(), 5);
        fixture.form->CWNumEdit4->lineEdit()->selectAll();
        QTest::keyClicks(fixture.form->CWNumEdit4->lineEdit(), QStringLiteral("7"));
        QCOMPARE(fixture.form->CWNumEdit4->lineEdit()->text(), QStringLiteral("7"));
        QCOMPARE(shell.lookups.size(), 5);
    }
};

QTEST_MAIN(TestForm1PrintHelp)
#include "tst_form1_print_help.moc"
