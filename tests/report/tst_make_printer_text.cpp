#include "make_printer_text.h"
#include "recording_printer.h"

#include <QTest>

// MakePrinterText on a recording printer: which characters come out, at which height
// and size, and in which state the printer is left.
class TestMakePrinterText : public QObject
{
    Q_OBJECT

    static constexpr float StartY = 2.3f;

    // The printed characters; runs at another height or size read [shift,size:text].
    static QString trace(const RecordingPrinter &printer)
    {
        QString out, run;
        for (const RecordingPrinter::Call &call : printer.calls) {
            if (call.name != "Print")
                continue;
            const double shift = double(call.y) - StartY;
            const QString key = shift == 0 && call.fontSize == 10 ? QString() : QString("%1,%2").arg(shift).arg(call.fontSize);
            if (key != run)
                out += QString(run.isEmpty() ? "" : "]") + (key.isEmpty() ? "" : "[" + key + ":");
            run = key;
            out += call.text;
        }
        return run.isEmpty() ? out : out + "]";
    }

private slots:
    void markup_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<double>("endShift");
        QTest::addColumn<float>("endSize");

        QTest::newRow("empty text") << "" << "" << 0.0 << 10.0f;
        QTest::newRow("unit with superscript") << "kW per m^{2}" << "kW per m[-0.125,6:2]" << 0.0 << 10.0f;
        QTest::newRow("subscript then plain") << "H_{2}O" << "H[0.125,6:2]O" << 0.0 << 10.0f;
        QTest::newRow("markers without brace") << "a^b_c" << "a^b_c" << 0.0 << 10.0f;
        QTest::newRow("marker as last character") << "x^" << "x^" << 0.0 << 10.0f;
        QTest::newRow("two underscores") << "__{i}" << "_[0.125,6:i]" << 0.0 << 10.0f;
        QTest::newRow("braces before any marker") << "{a}b" << "ab" << 0.0 << 10.0f;
        QTest::newRow("bare braces after superscript") << "m^{2} {3}" << "m[-0.125,6:2] [-0.125,6:3]" << 0.0 << 10.0f;
        QTest::newRow("bare braces after subscript") << "x_{1}y{2}" << "x[0.125,6:1]y[0.125,6:2]" << 0.0 << 10.0f;
        QTest::newRow("empty markup") << "a^{}b" << "ab" << 0.0 << 10.0f;
        QTest::newRow("superscript never closed") << "m^{2" << "m[-0.125,6:2]" << -0.125 << 6.0f;
        QTest::newRow("text ends in an opening") << "ab_{" << "ab" << 0.125 << 6.0f;
        QTest::newRow("superscript inside subscript") << "_{a^{b}}c" << "[0.125,6:a][0,6:b][0.125,6:c]" << 0.125 << 6.0f;
        QTest::newRow("tabs and spaces") << "a\t b" << "a\t b" << 0.0 << 10.0f;
    }

    void markup()
    {
        QFETCH(QString, text);
        QFETCH(QString, printed);
        QFETCH(double, endShift);
        QFETCH(float, endSize);

        RecordingPrinter printer;
        printer.setCurrentX(1.0f);
        printer.setCurrentY(StartY);

        QVERIFY(report::MakePrinterText(printer, text).isEmpty());
        QCOMPARE(trace(printer), printed);
        // One Print per character, none ending the line; X moves by what was printed.
        QCOMPARE(printer.count("PrintLine"), 0);
        float width = 0;
        for (const RecordingPrinter::Call &call : printer.calls) {
            if (call.name == "Print") {
                QCOMPARE(call.text.size(), 1);
                width += RecordingPrinter::CharWidthPerPoint * call.fontSize;
            }
        }
        QVERIFY(qAbs(printer.CurrentX() - (1.0f + width)) < 1e-5f);
        // Shifted in single precision: restored exactly, or off by exactly the shift.
        QCOMPARE(printer.CurrentY(), float(StartY + endShift));
        QCOMPARE(printer.FontSize(), endSize);
    }

    void textLengthLimit()
    {
        RecordingPrinter printer;
        report::MakePrinterText(printer, QString(32766, u'a'));
        QCOMPARE(printer.count("Print"), 32766);
        RecordingPrinter tooLong;
        QVERIFY_THROWS_EXCEPTION(std::exception, report::MakePrinterText(tooLong, QString(32767, u'a')));
        QCOMPARE(tooLong.count("Print"), 0);
    }
};

QTEST_GUILESS_MAIN(TestMakePrinterText)
#include "tst_make_printer_text.moc"
