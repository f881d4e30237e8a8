// The report and MakePrinterText on a recording printer; on the PDF-file printer the page at
// the places the paper page is checked at; and on a print server queue that stops while the
// "PRINTER MESSAGE" box is open, the page goes to the queue only if it would still print it.

#include "calculate.h"
#include "calculation_report.h"
#include "given_input.h"
#include "make_printer_text.h"
#include "pdf_file_printer.h"
#include "qt_printer.h"
#include "recording_message_box.h"
#include "recording_printer.h"
#include "report_input.h"

#include <QDir>
#include <QLocale>
#include <QMarginsF>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Input = engine::CalculationInput;

// Where the pen stood for a character: above (-) or below (+) the line in cm, and the font size.
struct Pen
{
    float shift;
    float size;
    bool operator==(const Pen &o) const { return shift == o.shift && size == o.size; }
};
const Pen Normal {0, 10};
const Pen Raised {-0.125f, 6};
const Pen Lowered {0.125f, 6};

struct Glyph
{
    QChar character;
    Pen pen;
    bool operator==(const Glyph &o) const { return character == o.character && pen == o.pen; }
};

char *toString(const Pen &pen)
{
    return QTest::toString(QStringLiteral("shift %1 size %2").arg(pen.shift).arg(pen.size));
}

char *toString(const Glyph &glyph)
{
    return QTest::toString(QStringLiteral("'%1' shift %2 size %3")
                               .arg(glyph.character)
                               .arg(glyph.pen.shift)
                               .arg(glyph.pen.size));
}

QList<Glyph> glyphs(const QString &text, Pen pen)
{
    QList<Glyph> list;
    for (const QChar c : text)
        list.append({c, pen});
    return list;
}

// What the window hands the report right after "Bereken".
struct Calculated
{
    engine::CalculationState state;
    report::ReportInput input;

    explicit Calculated(const Input &in = {}, char separator = '.')
    {
        const engine::CalculationResult result = engine::Calculate(in, state, separator);
        input = report::makeReportInput(in, state, result);
        input.logo = QImage(30, 10, QImage::Format_RGB32);
        input.decimalSeparator = separator;
        input.printedAt = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9));
    }
};

float width(const QString &text, float size)
{
    return text.size() * RecordingPrinter::CharWidthPerPoint * size;
}

// A word of the page and the right edge and top of its box, in cm from the printable
// area's corner.
struct Word
{
    QString text;
    double right = 0;
    double top = 0;
};

QList<Word> readWords(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pdf, "-"});
    pdftotext.waitForFinished(10000);
    static const QRegularExpression word(
        R"re(<word xMin="[\d.]+" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    const double margin = platform::PagePrinter::OfficeMarginMm / 10;
    QList<Word> words;
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const double top = m.captured(1).toDouble() * 2.54 / 72 - margin;
        const double right = m.captured(2).toDouble() * 2.54 / 72 - margin;
        words.append({m.captured(3), right, top});
    }
    return words;
}

// Prints the design values' report to `file`; false when the printer gave up.
bool printReport(const QString &file)
{
    const Calculated calculated;
    platform::PdfFilePrinter printer(file);
    return report::printCalculationReport(calculated.input, printer, nullptr);
}

// A print server with one queue whose state the test changes as it goes.
struct FakeServer
{
    QString state = QStringLiteral("ready"); // ready or stopped
    QStringList submitted;                   // one "queue: bytes" per page handed over

    platform::PrintServer server()
    {
        platform::PrintServer s;
        s.checkReady = [this](const QString &queue) {
            if (state != QLatin1String("ready"))
                throw platform::PrinterError((queue + ' ' + state).toStdString());
        };
        s.margins = [](const QString &, const QPageSize &, QPageLayout::Orientation) {
            return QMarginsF(4, 4, 4, 4);
        };
        s.submitPdf = [this](const QString &queue, const QString &pdf, const QString &, int,
                             const QString &) {
            submitted << QStringLiteral("%1: %2").arg(queue).arg(QFileInfo(pdf).size() > 1000 ? "page"
                                                                                              : "empty");
        };
        return s;
    }
};

} // namespace

Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(Pen)
Q_DECLARE_METATYPE(Glyph)

// The report on a recording printer; tests/system reads the design values' page back from paper.
class TestReport : public QObject
{
    Q_OBJECT

    static constexpr float StartX = 1.0f;
    static constexpr float StartY = 2.5f; // a binary fraction: shifts come out exact

    QTemporaryDir m_spoolDir;

private slots:
    // The spool files land in a folder of the test's own, where leftovers show.
    void initTestCase()
    {
        QVERIFY(m_spoolDir.isValid());
        qputenv("TMPDIR", m_spoolDir.path().toLocal8Bit());
    }
    void init() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }

    void markup_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<Glyph>>("printed");
        QTest::addColumn<Pen>("after");
        // clang-format off
        QTest::newRow("unit with superscript") << "kW per m^{2}" << glyphs("kW per m", Normal) + glyphs("2", Raised)
                                               << Normal;
        QTest::newRow("markers without brace, last too") << "a^b_c^" << glyphs("a^b_c^", Normal) << Normal;
        QTest::newRow("lowered again after a subscript") << "H_{2}O {3}"
            << glyphs("H", Normal) + glyphs("2", Lowered) + glyphs("O ", Normal) + glyphs("3", Lowered) << Normal;
        QTest::newRow("superscript never closed") << "m^{2" << glyphs("m", Normal) + glyphs("2", Raised) << Raised;
        QTest::newRow("superscript inside subscript") << "_{a^{b}}c"
            << glyphs("a", Lowered) + glyphs("b", Pen {0, 6}) + glyphs("c", Lowered) << Lowered;
        // clang-format on
    }

    void markup()
    {
        QFETCH(QString, text);
        QFETCH(QList<Glyph>, printed);
        QFETCH(Pen, after);
        RecordingPrinter printer;
        printer.setCurrentX(StartX);
        printer.setCurrentY(StartY);
        QVERIFY(report::MakePrinterText(printer, text).isEmpty());

        QList<Glyph> seen; // one Print per character, each where the one before ended, none ending the line
        float x = StartX;
        for (const RecordingPrinter::Call &call : printer.calls) {
            if (call.name == "FontSize")
                continue;
            QCOMPARE(call.name, "Print");
            QCOMPARE(call.text.size(), 1);
            QCOMPARE(call.x, x);
            seen.append({call.text.at(0), {call.y - StartY, call.fontSize}});
            x += width(call.text, call.fontSize);
        }
        QCOMPARE(seen, printed);
        QCOMPARE((Pen {printer.CurrentY() - StartY, printer.FontSize()}), after);
    }

    void bodies_data()
    {
        QTest::addColumn<Input>("in");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QStringList>("absent"); // no printed line holds these
        QTest::newRow("outdoor, limited face, decimal comma")
            << Input(Given().storage(100, 20, 6).point(20, 80)) << ','
            << QStringList {"De breedte van de opslag bedraagt 40 m.",
                            "Van de gehele gevel is 40 m in rekening gebracht.",
                            "Het beoordelingspunt is gelegen op 20 m vanaf de zijde van de opslag "
                            "(verplaatsing parallel aan de gevel).",
                            "De berekende transmissie bedraagt 82,48%.", "2,5"}
            << QStringList {"100 m", "2.5"};
        QTest::newRow("indoor")
            << Input(Given().indoor()) << '.'
            << QStringList {"De berekening wordt uitgevoerd voor een binnenopslag.",
                            "De breedte van het gebouw bedraagt 10 m.",
                            "De hoogte van het gebouw bedraagt 8 m.",
                            "Het beoordelingspunt is gelegen op 5 m vanaf de zijde van de opslag "
                            "(verplaatsing parallel aan de gevel).",
                            "Het beoordelingspunt is gelegen op 5 m vanaf de opslag (verplaatsing loodrecht "
                            "op de gevel).",
                            "Voor de warmtestralingsflux is uitgegaan van 45 kW per m2.",
                            "Beoordelingspunt 1\t\t\t4\t\t\t\t22.29\t",
                            "Beoordelingspunt\tBeoordelingshoogte (m)\tWarmtestralingsniveau (kW per m2)"}
            << QStringList {"voor een buitenopslag", "gestapeld hout", "afscherming", "Beoordelingspunt 2"};
    }

    void bodies()
    {
        QFETCH(Input, in);
        QFETCH(char, separator);
        QFETCH(QStringList, printed);
        QFETCH(QStringList, absent);
        Calculated calculated(in, separator);
        RecordingPrinter printer;
        report::composeCalculationReport(calculated.input, printer);
        for (const QString &line : printed)
            QVERIFY2(printer.lines.contains(line), qPrintable(line));
        for (const QString &part : absent)
            QVERIFY2(printer.lines.filter(part).isEmpty(), qPrintable(part));
        // The footer: the user's short date, three blanks and the time without a zone.
        QCOMPARE(printer.lines.at(printer.lines.size() - 2),
                 QLocale().toString(QDate(2026, 3, 7), QLocale::ShortFormat) + "   14:05:09");
    }

    // The places the paper page is checked at: the title's corner, and per row of the outdoor
    // table the height's right edge at 9 cm and the level's at 15 cm.
    void page()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("rapport.pdf");
        QVERIFY(printReport(file));
        const QList<Word> words = readWords(file);
        const auto find = [&](const QString &text) {
            return std::find_if(words.cbegin(), words.cend(), [&](const Word &w) { return w.text == text; });
        };
        const auto title = find("Berekeningsmethode");
        QVERIFY(title != words.cend());
        QVERIFY(qAbs(title->top - 1.2) < 0.1);
        const QStringList rows {"2.5 38.14", "5 44.17", "7.5 44.76", "10 41.72", "12.5 36.73"};
        for (const QString &row : rows) { // the height ends at 9 cm, the level on its row at 15 cm
            const QString level = row.section(' ', 1);
            const auto at = find(level);
            QVERIFY2(at != words.cend(), qPrintable(level));
            QVERIFY2(qAbs(at->right - 15.0) < 0.1, qPrintable(level));
            QCOMPARE((at - 1)->text, row.section(' ', 0, 0));
            QVERIFY2(qAbs((at - 1)->right - 9.0) < 0.1, qPrintable(level));
            QVERIFY2(qAbs((at - 1)->top - at->top) < 0.1, qPrintable(level));
        }
    }
    void release_data()
    {
        QTest::addColumn<QString>("before");    // the queue when "Print" is clicked
        QTest::addColumn<QString>("meanwhile"); // the queue once the box is open
        QTest::addColumn<QString>("boxes");     // what the user was told
        QTest::addColumn<QStringList>("pages"); // what the queue got
        const QString told = QStringLiteral("PRINTER MESSAGE: Document geprint op PDF.");
        QTest::newRow("ready throughout") << "ready"
                                          << "ready" << told << QStringList {"PDF: page"};
        QTest::newRow("stopped while the box is open") << "ready"
                                                       << "stopped" << told << QStringList {};
    }
    void release()
    {
        QFETCH(QString, before);
        QFETCH(QString, meanwhile);
        QFETCH(QString, boxes);
        QFETCH(QStringList, pages);

        FakeServer fake;
        fake.state = before;
        RecordingMessageBox box;
        box.behind = [&] {
            fake.state = meanwhile;
            return QString();
        };
        const Calculated calculated;
        platform::QtPrinter printer(QStringLiteral("PDF"), fake.server());
        const bool printed = report::printCalculationReport(calculated.input, printer, &box);

        QCOMPARE(box.shown.join('\n').remove(QStringLiteral(" (64)")), boxes);
        QCOMPARE(fake.submitted, pages);
        QCOMPARE(printed, !pages.isEmpty());
        QCOMPARE(QDir(m_spoolDir.path()).entryList(QDir::Files), QStringList()); // no spool file left
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
