// The real programs on the X server that ./test starts (Xvfb): the classic window maps at
// 710 x 551 with its caption, exactly; each window carries an icon and the class its menu
// entry names (StartupWMClass), so that docks and task bars tie it to the entry.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

class TestWindowOnX : public QObject
{
    Q_OBJECT

    QString m_display;

    QString x11(const QString &tool, const QStringList &arguments)
    {
        QProcess process;
        process.start(tool, QStringList {QStringLiteral("-display"), m_display} + arguments);
        process.waitForFinished(5000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    // Other runs may show a window with this caption on the same server: ours carries
    // our program's _NET_WM_PID.
    QString ourWindow(const QString &caption, qint64 pid)
    {
        const QString tree =
            x11(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
        const QRegularExpression line("(0x[0-9a-f]+) \"" + QRegularExpression::escape(caption) + '"');
        for (auto it = line.globalMatch(tree); it.hasNext();) {
            const QString id = it.next().captured(1);
            if (x11(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_PID")})
                    .trimmed()
                    .endsWith(' ' + QString::number(pid)))
                return id;
        }
        return {};
    }
    static QString entryKey(const QString &entry, const QString &key)
    {
        QFile file(entry);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QRegularExpression line('^' + key + "=(.*)$", QRegularExpression::MultilineOption);
        return line.match(QString::fromUtf8(file.readAll())).captured(1);
    }

private slots:
    void initTestCase()
    {
        m_display = qEnvironmentVariable("WARMTEGLOED_TEST_DISPLAY");
        QVERIFY2(!m_display.isEmpty(),
                 "WARMTEGLOED_TEST_DISPLAY is not set: run the tests through ./test, which starts Xvfb");
    }

    void window_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QSize>("size"); // empty: the window's own choice
        QTest::newRow("warmtegloed") << WARMTEGLOED_EXE
                                     << "Veldoc Bepalingsmethode Warmtegloedvracht Versie 1.0  2003"
                                     << WARMTEGLOED_ENTRY << QSize(710, 551);
        QTest::newRow("warmtegloed-verkenning")
            << WARMTEGLOED_EXPLORER_EXE << "Naamloos \u2013 Warmtegloed \u2013 Verkenning"
            << WARMTEGLOED_EXPLORER_ENTRY << QSize();
    }
    void window()
    {
        QFETCH(QString, program);
        QFETCH(QString, caption);
        QFETCH(QString, entry);
        QFETCH(QSize, size);
        QProcess running;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        running.setProcessEnvironment(environment);
        running.start(program, {});
        QVERIFY2(running.waitForStarted(5000), qPrintable(running.errorString()));
        const auto stop = qScopeGuard([&running] {
            running.kill();
            running.waitForFinished(3000);
        });

        QString id, info;
        // A busy machine may take its time to start the program and map the window.
        QTRY_VERIFY2_WITH_TIMEOUT(!(id = ourWindow(caption, running.processId())).isEmpty()
                                      && (info = x11(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}))
                                             .contains(QLatin1String("IsViewable")),
                                  qPrintable("no window titled \"" + caption
                                             + "\" appeared; the program said: "
                                             + QString::fromLocal8Bit(running.readAllStandardError())),
                                  60000);
        if (!size.isEmpty()) {
            QVERIFY2(info.contains(QStringLiteral("  Width: %1\n").arg(size.width()))
                         && info.contains(QStringLiteral("  Height: %1\n").arg(size.height())),
                     qPrintable(info));
        }

        const QString wmClass = entryKey(entry, QStringLiteral("StartupWMClass"));
        QVERIFY2(!wmClass.isEmpty(), qPrintable(entry + " names no StartupWMClass"));
        const QString properties = x11(QStringLiteral("xprop"), {QStringLiteral("-id"), id});
        QVERIFY2(properties.contains(QStringLiteral("WM_CLASS(STRING) = \"%1\", \"%1\"\n").arg(wmClass)),
                 qPrintable(properties.section('\n', 0, 0) + " ... WM_CLASS is not " + wmClass));
        QVERIFY2(properties.contains(QLatin1String("_NET_WM_ICON(CARDINAL) = \tIcon (")),
                 "the window has no icon");
    }
};

QTEST_GUILESS_MAIN(TestWindowOnX)
#include "tst_window_on_x.moc"
