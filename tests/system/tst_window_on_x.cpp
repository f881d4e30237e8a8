// The real program on a real X server: the window maps at 710 x 551 with its caption,
// centred on the screen and fixed in size. The X server is the one ./test starts.

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString Caption = QStringLiteral("Veldoc Bepalingsmethode Warmtegloedvracht Versie 1.0  2003");

QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess tool;
    tool.start(program, arguments);
    tool.waitForFinished(5000);
    if (exitCode)
        *exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    return QString::fromUtf8(tool.readAllStandardOutput());
}

int field(const QString &text, const QString &name)
{
    const QRegularExpression pattern(QRegularExpression::escape(name) + QStringLiteral(":\\s*(-?\\d+)"));
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -9999;
}

} // namespace

class TestWindowOnX : public QObject
{
    Q_OBJECT

private:
    QString m_display;
    QProcess m_program;

    // Other tests may show a window with the same caption on this server: the one
    // to look at is the one whose _NET_WM_PID is our program's.
    QString ourWindow()
    {
        const QString tree = run(QStringLiteral("xwininfo"),
                                 {QStringLiteral("-display"), m_display, QStringLiteral("-root"),
                                  QStringLiteral("-tree")});
        const QRegularExpression line(QStringLiteral("(0x[0-9a-f]+) \"%1\"")
                                          .arg(QRegularExpression::escape(Caption)));
        for (auto it = line.globalMatch(tree); it.hasNext();) {
            const QString id = it.next().captured(1);
            const QString pid = run(QStringLiteral("xprop"), {QStringLiteral("-display"), m_display,
                                                              QStringLiteral("-id"), id,
                                                              QStringLiteral("_NET_WM_PID")});
            if (pid.trimmed().endsWith(QStringLiteral(" %1").arg(m_program.processId())))
                return id;
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        m_display = qEnvironmentVariable("WARMTEGLOED_TEST_DISPLAY");
        QVERIFY2(!m_display.isEmpty(),
                 "WARMTEGLOED_TEST_DISPLAY is not set: run the tests through ./test, which starts Xvfb");
        int code = 0;
        run(QStringLiteral("xdpyinfo"), {QStringLiteral("-display"), m_display}, &code);
        QVERIFY2(code == 0, qPrintable(QStringLiteral("no X server answers on %1").arg(m_display)));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_program.setProcessEnvironment(environment);
        m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program.start(QStringLiteral(WARMTEGLOED_EXE), {});
        QVERIFY2(m_program.waitForStarted(5000), qPrintable(m_program.errorString()));
    }

    void cleanupTestCase()
    {
        if (m_program.state() != QProcess::NotRunning) {
            m_program.terminate();
            if (!m_program.waitForFinished(3000))
                m_program.kill();
            m_program.waitForFinished(3000);
        }
    }

    void windowShowsCentredAtItsSize()
    {
        QString id, info;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 15000) {
            id = ourWindow();
            if (!id.isEmpty()) {
                info = run(QStringLiteral("xwininfo"),
                           {QStringLiteral("-display"), m_display, QStringLiteral("-id"), id});
                if (info.contains(QLatin1String("IsViewable")))
                    break;
            }
            QTest::qWait(100);
        }
        QVERIFY2(info.contains(QLatin1String("IsViewable")),
                 qPrintable(QStringLiteral("no window titled \"%1\" appeared").arg(Caption)));
        QCOMPARE(field(info, QStringLiteral("Width")), 710);
        QCOMPARE(field(info, QStringLiteral("Height")), 551);

        const QString root = run(QStringLiteral("xwininfo"),
                                 {QStringLiteral("-display"), m_display, QStringLiteral("-root")});
        const int left = field(info, QStringLiteral("Absolute upper-left X"));
        const int top = field(info, QStringLiteral("Absolute upper-left Y"));
        QVERIFY2(qAbs(left - (field(root, QStringLiteral("Width")) - 710) / 2) <= 2, qPrintable(info));
        QVERIFY2(qAbs(top - (field(root, QStringLiteral("Height")) - 551) / 2) <= 2, qPrintable(info));

        // The caption exactly (the UTF-8 name, not just a match), and a fixed size.
        const QString properties = run(QStringLiteral("xprop"), {QStringLiteral("-display"), m_display,
                                                                 QStringLiteral("-id"), id});
        QVERIFY2(properties.contains(QStringLiteral("_NET_WM_NAME(UTF8_STRING) = \"%1\"").arg(Caption)),
                 qPrintable(properties));
        QVERIFY2(properties.contains(QLatin1String("program specified minimum size: 710 by 551"))
                     && properties.contains(QLatin1String("program specified maximum size: 710 by 551")),
                 qPrintable(properties));
    }
};

QTEST_GUILESS_MAIN(TestWindowOnX)
#include "tst_window_on_x.moc"
