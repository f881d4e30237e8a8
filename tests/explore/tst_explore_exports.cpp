// The exports read back: the plan view as SVG and PNG, the report as a paginated PDF.

#include "exports.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

using namespace explore;

class TestExploreExports : public QObject
{
    Q_OBJECT

    Exploration m_exploration;
    QTemporaryDir m_folder;

    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        QVERIFY(m_folder.isValid());
        m_exploration.input.storage.screen = true;
        m_exploration.input.storage.hs = 4;
        m_exploration.input.storage.xs = 2;
        const ExplorationInput &input = m_exploration.input;
        m_exploration.answers = ComputeAnswers(input, m_exploration.refusal);
        m_exploration.hasAnswers = true;
        m_exploration.distance = ComputeDistanceProfile(input, LastDistance(input, m_exploration.answers), 61,
                                                        m_exploration.refusal);
        m_exploration.height = ComputeHeightProfile(input, 41, m_exploration.refusal);
        m_exploration.extent = PlanExtentFor(input, m_exploration.answers);
        m_exploration.plan = ComputePlanMap(input, m_exploration.extent, 40, m_exploration.refusal);
        m_exploration.planFinal = true;
        QVERIFY(!m_exploration.refusal.refused());
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

    void reportIsPaginated()
    {
        const QDateTime when(QDate(2026, 12, 6), QTime(4, 30));
        const QString path = m_folder.filePath(QStringLiteral("verkenningsrapport.pdf"));
        QCOMPARE(WriteFileAtomically(path, RenderReport(m_exploration, when, QLocale())), QString());
        const QString info = run(QStringLiteral(PDFINFO_EXE), {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+5\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(
                     QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)"))),
                 qPrintable(info));
        const QString text =
            run(QStringLiteral(PDFTOTEXT_EXE), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 5);
        const QString stamp = QLocale().toString(when, QLocale::LongFormat);
        for (int i = 0; i < 5; ++i) {
            QVERIFY2(pages[i].contains(QStringLiteral("Pagina %1 van 5").arg(i + 1)), qPrintable(pages[i]));
            QVERIFY(pages[i].contains(stamp));
        }
        QVERIFY(pages[0].contains(QStringLiteral("Breedte opslag (B)")));
        QVERIFY(pages[0].contains(QStringLiteral("Minimale afstand")));
        QVERIFY(pages[0].contains(QStringLiteral("11,86 m")));
        QVERIFY(pages[0].contains(QStringLiteral("Voldoet niet")));
        QVERIFY(pages[1].contains(QStringLiteral("Figuur 1: Afstand")));
        QVERIFY(pages[3].contains(QStringLiteral("L = 15 kW/m²")));
        QVERIFY(pages[4].contains(QStringLiteral("Bouwbesluit 2012, art. 7.7")));
    }
};

QTEST_MAIN(TestExploreExports)
#include "tst_explore_exports.moc"
