// The real program on a real X server (the Xvfb that ./test starts): its window maps
// at 710 x 551 with its caption, exactly, centred on the screen.

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

class TestWindowOnX : public QObject
{
    Q_OBJECT

    const QString m_caption = QStringLiteral("Veldoc Bepalingsmethode Warmtegloedvracht Versie 1.0  2003");
    QString m_display;
    QProcess m_program;

    QString x11(const QString &tool, QStringList arguments)
    {
        QProcess process;
        process.start(tool, QStringList{QStringLiteral("-display"), m_display} + arguments);
        process.waitForFinished(5000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    static int field(const QString &text, const QString &name)
    {
        const auto match = QRegularExpression(QRegularExpression::escape(name) + ":\\s*(-?\\d+)").match(text);
        return match.hasMatch() ? match.captured(1).toInt() : -9999;
    }
    // Other tests may show a window with the same caption on this server: ours is
    // the one whose _NET_WM_PID is our program's.
    QString ourWindow()
    {
        const QString tree = x11(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
        const QRegularExpression line("(0x[0-9a-f]+) \"" + QRegularExpression::escape(m_caption) + '"');
        for (auto it = line.globalMatch(tree); it.hasNext();) {
            const QString id = it.next().captured(1);
            if (x11(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_PID")})
                    .trimmed().endsWith(' ' + QString::number(m_program.processId())))
                return id;
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        m_display = qEnvironmentVariable("WARMTEGLOED_TEST_DISPLAY");
        QVERIFY2(!m_display.isEmpty(), "WARMTEGLOED_TEST_DISPLAY is not set: run the tests through ./test, which starts Xvfb");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_program.setProcessEnvironment(environment);
        m_program.start(QStringLiteral(WARMTEGLOED_EXE), {});
        QVERIFY2(m_program.waitForStarted(5000), qPrintable(m_program.errorString()));
    }
    void cleanupTestCase()
    {
        m_program.kill();
        m_program.waitForFinished(3000);
    }

    void windowShowsCentredAtItsSize()
    {
        QString id, info;
        QElapsedTimer waited;
        waited.start();
        while (!info.contains(QLatin1String("IsViewable")) && waited.elapsed() < 15000) {
            QTest::qWait(100);
            if (!(id = ourWindow()).isEmpty())
                info = x11(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
        }
        QVERIFY2(info.contains(QLatin1String("IsViewable")), qPrintable("no window titled \"" + m_caption + "\" appeared"));
        QCOMPARE(field(info, QStringLiteral("Width")), 710);
        QCOMPARE(field(info, QStringLiteral("Height")), 551);
        const QString root = x11(QStringLiteral("xwininfo"), {QStringLiteral("-root")});
        QVERIFY2(qAbs(field(info, "Absolute upper-left X") - (field(root, "Width") - 710) / 2) <= 2, qPrintable(info));
        QVERIFY2(qAbs(field(info, "Absolute upper-left Y") - (field(root, "Height") - 551) / 2) <= 2, qPrintable(info));
    }
};

QTEST_GUILESS_MAIN(TestWindowOnX)
#include "tst_window_on_x.moc"
