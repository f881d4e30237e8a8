// The real program on the X server that ./test starts (Xvfb): its window maps at
// 710 x 551 with its caption, exactly.

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

class TestWindowOnX : public QObject
{
    Q_OBJECT

    const QString m_caption = QStringLiteral("Veldoc Bepalingsmethode Warmtegloedvracht Versie 1.0  2003");
    QString m_display;
    QProcess m_program;

    QString x11(const QString &tool, const QStringList &arguments)
    {
        QProcess process;
        process.start(tool, QStringList {QStringLiteral("-display"), m_display} + arguments);
        process.waitForFinished(5000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    // Other runs may show a window with this caption on the same server: ours carries
    // our program's _NET_WM_PID.
    QString ourWindowInfo()
    {
        const QString tree =
            x11(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
        const QRegularExpression line("(0x[0-9a-f]+) \"" + QRegularExpression::escape(m_caption) + '"');
        for (auto it = line.globalMatch(tree); it.hasNext();) {
            const QString id = it.next().captured(1);
            if (x11(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_PID")})
                    .trimmed()
                    .endsWith(' ' + QString::number(m_program.processId())))
                return x11(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        m_display = qEnvironmentVariable("WARMTEGLOED_TEST_DISPLAY");
        QVERIFY2(!m_display.isEmpty(),
                 "WARMTEGLOED_TEST_DISPLAY is not set: run the tests through ./test, which starts Xvfb");
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

    void windowMapsAtItsSize()
    {
        QString info;
        // A busy machine may take its time to start the program and map the window.
        QTRY_VERIFY2_WITH_TIMEOUT((info = ourWindowInfo()).contains(QLatin1String("IsViewable")),
                                  qPrintable("no window titled \"" + m_caption
                                             + "\" appeared; the program said: "
                                             + QString::fromLocal8Bit(m_program.readAllStandardError())),
                                  60000);
        QVERIFY2(info.contains(QLatin1String("  Width: 710\n"))
                     && info.contains(QLatin1String("  Height: 551\n")),
                 qPrintable(info));
    }
};

QTEST_GUILESS_MAIN(TestWindowOnX)
#include "tst_window_on_x.moc"
