// "Print" as the window starts it: only after a defined calculation and only on a
// printer it could get. (Help and F1 from the real window: tests/system.)

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "recording_printer.h"

#include <QPushButton>

class TestForm1Print : public QObject
{
    Q_OBJECT

private slots:
    void print_data()
    {
        QTest::addColumn<double>("height");  // 0.5 leaves the flame below the pile top
        QTest::addColumn<QString>("printer"); // what the factory gives
        QTest::addColumn<QString>("boxes");   // title of the last message box
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
        QCOMPARE(fixture.messageBox.shown.isEmpty() ? QString() : fixture.messageBox.shown.last().title, boxes);
        QCOMPARE(made, height > 1 ? 1 : 0);
        QVERIFY(fixture.guard.unexpected().isEmpty());
    }
};

QTEST_MAIN(TestForm1Print)
#include "tst_form1_print.moc"
