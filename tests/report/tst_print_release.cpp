// "Print" on a queue of the print server: the finished page goes to the queue only if
// the queue would still print it when the "PRINTER MESSAGE" box has been closed.

#include "calculate.h"
#include "calculation_report.h"
#include "qt_printer.h"
#include "recording_message_box.h"

#include <QDir>
#include <QMarginsF>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

class TestPrintRelease : public QObject
{
    Q_OBJECT

    QTemporaryDir m_spoolDir;

private slots:
    // The spool files land in a folder of the test's own, where leftovers show.
    void initTestCase()
    {
        QVERIFY(m_spoolDir.isValid());
        qputenv("TMPDIR", m_spoolDir.path().toLocal8Bit());
        QLocale::setDefault(QLocale::c());
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
        engine::CalculationState state;
        engine::Calculate(engine::CalculationInput {}, state, '.');
        report::ReportInput input;
        input.state = &state;
        input.logo = QImage(30, 10, QImage::Format_RGB32);
        input.printedAt = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9));

        platform::QtPrinter printer(QStringLiteral("PDF"), fake.server());
        const bool printed = report::printCalculationReport(input, printer, &box);

        QCOMPARE(box.shown.join('\n').remove(QStringLiteral(" (64)")), boxes);
        QCOMPARE(fake.submitted, pages);
        QCOMPARE(printed, !pages.isEmpty());
        QCOMPARE(QDir(m_spoolDir.path()).entryList(QDir::Files), QStringList()); // no spool file left
    }
};

QTEST_MAIN(TestPrintRelease)
#include "tst_print_release.moc"
