// The exports read back: the plan view as SVG and PNG, the table as CSV in both styles, the
// report as a paginated PDF with the case, the verdict and the time with its zone.

#include "exploration_report.h"
#include "explored.h"
#include "exports.h"
#include "program_output.h"
#include "typed_numbers.h"
#include "view_table.h"

#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

using namespace explore;

Q_DECLARE_METATYPE(explore::ViewKind)
Q_DECLARE_METATYPE(explore::CsvStyle)

class TestExploreExports : public QObject
{
    Q_OBJECT

    Exploration m_exploration;
    QTemporaryDir m_folder;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        QVERIFY(m_folder.isValid());
        ExplorationInput input;
        input.storage.screen = true;
        input.storage.hs = 4;
        input.storage.xs = 2;
        m_exploration = Explored(input, 40);
        QVERIFY(m_exploration.planFinal);
    }

    // The plan view as SVG, with its limit line's label, and as PNG with something drawn on it.
    void planParses()
    {
        const ViewKind kind = ViewKind::Plan;
        const QString label = QStringLiteral("L = 15 kW/m²");
        const QSize size(800, 600);
        const QString svgPath = m_folder.filePath(ViewTitle(kind) + QStringLiteral(".svg"));
        QCOMPARE(WriteFileAtomically(svgPath, RenderSvg(kind, m_exploration, size, QLocale())), QString());
        QSvgRenderer renderer(svgPath);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(QPoint(0, 0), size));
        QFile svg(svgPath);
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY2(QString::fromUtf8(svg.readAll()).contains(label.toHtmlEscaped()), qPrintable(label));

        const QString pngPath = m_folder.filePath(ViewTitle(kind) + QStringLiteral(".png"));
        QCOMPARE(WriteFileAtomically(pngPath, RenderPng(kind, m_exploration, size, QLocale())), QString());
        const QImage image(pngPath);
        QCOMPARE(image.size(), size);
        int dark = 0; // text and lines on the white ground
        for (int y = 0; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3)
                dark += qGray(image.pixel(x, y)) < 100;
        }
        QVERIFY(dark > 200);
    }

    // A Dutch spreadsheet reads every cell back as the very double the window holds; a script
    // reads the point CSV the same way.
    void tableCsvReadsBackAsTheSameNumbers_data()
    {
        QTest::addColumn<ViewKind>("kind");
        QTest::addColumn<CsvStyle>("style");
        QTest::newRow("plan, Dutch") << ViewKind::Plan << CsvStyle::Dutch;
        QTest::newRow("plan, point") << ViewKind::Plan << CsvStyle::Point;
        QTest::newRow("distance, Dutch") << ViewKind::Distance << CsvStyle::Dutch;
    }
    void tableCsvReadsBackAsTheSameNumbers()
    {
        QFETCH(ViewKind, kind);
        QFETCH(CsvStyle, style);
        const bool dutch = style == CsvStyle::Dutch;
        const QLocale reader = dutch ? QLocale(QLocale::Dutch, QLocale::Netherlands) : QLocale::c();
        const TableData table = TableFor(kind, m_exploration, reader);
        QByteArray csv = TableCsv(table, style);
        QCOMPARE(csv.startsWith("\xEF\xBB\xBF"), dutch);
        if (dutch)
            csv.remove(0, 3);
        QStringList lines =
            QString::fromUtf8(csv).split(dutch ? QStringLiteral("\r\n") : QStringLiteral("\n"));
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), int(table.rows.size()) + 1);
        const QString separator = dutch ? QStringLiteral(";") : QStringLiteral(",");
        QCOMPARE(lines.takeFirst().split(separator).size(), table.headers.size());
        for (size_t r = 0; r < table.rows.size(); ++r) {
            const QStringList cells = lines[int(r)].split(separator);
            QCOMPARE(cells.size(), int(table.rows[r].size()));
            for (size_t c = 0; c < table.rows[r].size(); ++c) {
                const QString &cell = cells[int(c)];
                QVERIFY2(!cell.contains(QLatin1Char('e')) && cell != QStringLiteral("-0"), qPrintable(cell));
                bool ok = false;
                const double read = reader.toDouble(cell, &ok);
                QVERIFY2(ok && read == table.rows[r][c], qPrintable(cell));
            }
        }
    }

    // Sample positions that are sums of steps come out as the round figures they stand for
    // (0, not -4.4e-16; 0.3, not 0.30000000000000004); others as computed. The header's
    // heights read like its cells.
    void tableNumbersAsMeant_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("row");
        QTest::addColumn<double>("position");
        QTest::newRow("zero in tenths") << -0.3 << 0.1 << 3 << 0.0;
        QTest::newRow("a tenth past zero") << -5.0 << 0.1 << 53 << 0.3;
        QTest::newRow("thirds stay as computed") << -5.0 << 1.0 / 3 << 16 << -5 + 16 * (1.0 / 3);
    }
    void tableNumbersAsMeant()
    {
        QFETCH(double, from);
        QFETCH(double, step);
        QFETCH(int, row);
        QFETCH(double, position);
        Exploration sampled;
        sampled.planFinal = true;
        engine::ScalarGrid &grid = sampled.plan.grid;
        grid.nx = 1;
        grid.ny = 101;
        grid.x0 = 2.5;
        grid.y0 = from;
        grid.dy = step;
        grid.values.assign(101, 1.0);
        const TableData table = TableFor(ViewKind::Plan, sampled, QLocale::c());
        const double y = table.rows[size_t(row)][1];
        QVERIFY2(y == position && !std::signbit(y), qPrintable(QString::number(y, 'g', 17)));
        const QByteArray csv = TableCsv(table, CsvStyle::Point);
        QVERIFY(csv.contains("\n2.5," + ShortestNumber(position, QLocale::c()).toUtf8() + ",1\n"));
        const TableData distance = TableFor(ViewKind::Distance, m_exploration, QLocale());
        QCOMPARE(distance.headers[1], QStringLiteral("punt 1 op 2,5 m (kW/m²)"));
    }

    void reportIsPaginated()
    {
        const QDateTime when(QDate(2026, 12, 6), QTime(4, 30));
        const QString path = m_folder.filePath(QStringLiteral("verkenningsrapport.pdf"));
        CaseDetails details;
        details.title = QStringLiteral("Zaak 2026-117 houtopslag");
        details.establishment = QStringLiteral("Houthandel De Eik B.V.");
        details.address = QStringLiteral("Havenweg 12, Zwolle");
        details.author = QStringLiteral("J. de Vries");
        details.date = QDate(2026, 12, 7);
        QCOMPARE(WriteFileAtomically(path, RenderReport(m_exploration, details, when, QLocale())), QString());
        const QString info = ProgramOutput(QStringLiteral(PDFINFO_EXE), {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+5\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(
                     QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)"))),
                 qPrintable(info));
        const QString text = ProgramOutput(QStringLiteral(PDFTOTEXT_EXE), {path, QStringLiteral("-")});
        const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 5);
        // Local time with its zone (the test runs in Europe/Amsterdam).
        const QString stamp = QStringLiteral("6 december 2026, 04:30 CET (UTC+01:00)");
        QCOMPARE(ReportStamp(when, QLocale()), stamp);
        for (int i = 0; i < 5; ++i) {
            QVERIFY2(pages[i].contains(QStringLiteral("Pagina %1 van 5").arg(i + 1)), qPrintable(pages[i]));
            QVERIFY(pages[i].contains(stamp));
        }
        const QString first = QString(pages[0]).replace(QLatin1Char('\n'), QLatin1Char(' '));
        for (const QString &expected :
             {details.title, details.establishment, details.address, details.author,
              QStringLiteral("7 december 2026"),
              QStringLiteral("Warmtegloed – Verkenning ") + ProgramVersion(),
              QStringLiteral("Voldoet niet: het hoogste"), QStringLiteral("Breedte opslag (B)"),
              QStringLiteral("Minimale afstand"), QStringLiteral("11,86 m")})
            QVERIFY2(first.contains(expected), qPrintable(expected));
        QVERIFY(pages[1].contains(QStringLiteral("Figuur 1: Afstand")));
        QVERIFY(pages[3].contains(QStringLiteral("L = 15 kW/m²")));
    }

    // A case without details says so instead of leaving blanks that look filled in.
    void reportWithoutCaseDetails()
    {
        const QDateTime when(QDate(2026, 7, 1), QTime(14, 5));
        const QString path = m_folder.filePath(QStringLiteral("zonder-zaak.pdf"));
        QCOMPARE(WriteFileAtomically(path, RenderReport(m_exploration, CaseDetails {}, when, QLocale())),
                 QString());
        const QString text = ProgramOutput(QStringLiteral(PDFTOTEXT_EXE), {path, QStringLiteral("-")});
        QCOMPARE(text.count(QStringLiteral("(niet ingevuld)")), 4);
        QVERIFY(text.contains(QStringLiteral("1 juli 2026, 14:05 CEST (UTC+02:00)")));
    }
};

QTEST_MAIN(TestExploreExports)
#include "tst_explore_exports.moc"
