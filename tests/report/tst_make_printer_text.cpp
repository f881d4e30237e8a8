#include "make_printer_text.h"
#include "recording_printer.h"

#include <QLocale>
#include <QTest>

#include <string>

// MakePrinterText on a recording printer: which characters come out, at which height
// and size, and in which state the printer is left.
class TestMakePrinterText : public QObject
{
    Q_OBJECT

private:
    static constexpr float StartY = 2.3f;
    static constexpr float StartSize = 10.0f;

    // The printed characters, runs at another height or size written as
    // [shift,size:text], so that a whole call reads as one line.
    static QString trace(const RecordingPrinter &printer)
    {
        QString out;
        QString runKey;
        for (const RecordingPrinter::Call &call : printer.calls) {
            if (call.name != "Print")
                continue;
            const double shift = double(call.y) - double(StartY);
            const bool normal = shift == 0 && call.fontSize == StartSize;
            const QString key = normal ? QString() : QStringLiteral("%1,%2").arg(shift).arg(call.fontSize);
            if (key != runKey) {
                if (!runKey.isEmpty())
                    out += ']';
                if (!key.isEmpty())
                    out += '[' + key + ':';
                runKey = key;
            }
            out += call.text;
        }
        if (!runKey.isEmpty())
            out += ']';
        return out;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

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
        QTest::newRow("bare braces after subscript") << "x_{1}{2}" << "x[0.125,6:12]" << 0.0 << 10.0f;
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
        printer.setFontSize(StartSize);
        printer.setCurrentX(1.0f);
        printer.setCurrentY(StartY);
        printer.calls.clear();

        const QString result = report::MakePrinterText(printer, text);

        QVERIFY(result.isEmpty());
        QCOMPARE(trace(printer), printed);
        // One Print per character, none of them ending the line.
        QCOMPARE(printer.count("PrintLine"), 0);
        float width = 0;
        for (const RecordingPrinter::Call &call : printer.calls) {
            if (call.name == "Print") {
                QCOMPARE(call.text.size(), 1);
                width += RecordingPrinter::CharWidthPerPoint * call.fontSize;
            }
        }
        QVERIFY(qAbs(printer.CurrentX() - (1.0f + width)) < 1e-5f);
        // The shifted position is computed in single precision: restored exactly, or
        // off by exactly the shift.
        QCOMPARE(printer.CurrentY(), static_cast<float>(double(StartY) + endShift));
        QCOMPARE(printer.FontSize(), endSize);
    }

    void textLengthLimit()
    {
        RecordingPrinter printer;
        const QString longest(32766, u'a');
        report::MakePrinterText(printer, longest);
        QCOMPARE(printer.count("Print"), 32766);

        RecordingPrinter tooLong;
        QVERIFY_THROWS_EXCEPTION(std::exception, report::MakePrinterText(tooLong, longest + 'a'));
        QCOMPARE(tooLong.count("Print"), 0);
    }
};

QTEST_GUILESS_MAIN(TestMakePrinterText)
#include "tst_make_printer_text.moc"
