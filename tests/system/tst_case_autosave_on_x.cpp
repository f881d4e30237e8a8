// The exploration window as the user runs it, on the X server that ./test starts (Xvfb):
// a case opened from the command line is edited by keystrokes, the program is killed
// with SIGKILL once its autosave is written, and the next start offers the edits back;
// taken back, saved and closed, the case file holds them and no copy is left behind.
// The keys reach the program through the XTEST extension (xdotool), as a keyboard's do.

#include "case_file.h"
#include "x_test_main.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestCaseAutosaveOnX : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

    QString autosaveFolder() const
    {
        // Where the program keeps its copies: its data folder under XDG_DATA_HOME.
        return m_home.filePath(QStringLiteral("data/Warmtegloedvracht/warmtegloed-verkenning/autosave"));
    }

    QStringList filesIn(const QString &pattern) const
    {
        return QDir(autosaveFolder()).entryList({pattern}, QDir::Files);
    }

    static QString xdotool(const QStringList &arguments)
    {
        QProcess tool;
        tool.start(QStringLiteral(XDOTOOL_EXE), arguments);
        tool.waitForFinished(20000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    // The visible window whose title matches `title` entirely, once it is there.
    static QString waitForWindow(const QString &title, int milliseconds = 60000)
    {
        const QString pattern = QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds) {
            const QString found = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                           QStringLiteral("--name"), pattern});
            if (!found.isEmpty())
                return found.split(QLatin1Char('\n')).last();
            QTest::qWait(100);
        }
        return {};
    }

    static void keys(const QString &window, const QStringList &strokes)
    {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        for (const QString &stroke : strokes) {
            if (stroke.startsWith(QLatin1Char('=')))
                xdotool(
                    {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("50"), stroke.mid(1)});
            else
                xdotool({QStringLiteral("key"), stroke});
        }
    }

    void startProgram(QProcess &program, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("WARMTEGLOED_TEST_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(VERKENNING_EXE), arguments);
        QVERIFY(program.waitForStarted());
    }

private slots:
    void killedWindowOffersItsEditsBack()
    {
        QVERIFY(m_home.isValid());
        const QString path = m_home.filePath(QStringLiteral("zaak.warmtegloed"));
        casefile::Case original;
        original.meta.title = "Proef";
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromStdString(casefile::WriteCase(original)));
        }
        const QByteArray saved = [&] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();

        QProcess first;
        startProgram(first, {path});
        QString window = waitForWindow(QStringLiteral("zaak.warmtegloed – Warmtegloed – Verkenning"));
        QVERIFY2(!window.isEmpty(), "the window with the case did not appear");
        // The width field has the focus when the window opens.
        keys(window, {QStringLiteral("ctrl+a"), QStringLiteral("=33"), QStringLiteral("Return")});
        QVERIFY(
            !waitForWindow(QStringLiteral("zaak.warmtegloed* – Warmtegloed – Verkenning"), 20000).isEmpty());

        // The copy is written within the promised half minute of the edit.
        QElapsedTimer clock;
        clock.start();
        while (filesIn(QStringLiteral("*.autosave")).isEmpty() && clock.elapsed() < 30000)
            QTest::qWait(200);
        QCOMPARE(filesIn(QStringLiteral("*.autosave")).size(), 1);
        ::kill(pid_t(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitStatus(), QProcess::CrashExit);
        // Killed: its lock stays behind, naming a process that is gone.
        QCOMPARE(filesIn(QStringLiteral("*.lock")).size(), 1);

        QProcess second;
        startProgram(second, {});
        const QString question = waitForWindow(QStringLiteral("Warmtegloed – Verkenning"));
        QVERIFY2(!question.isEmpty(), "the autosave was not offered");
        keys(question, {QStringLiteral("Return")}); // "Herstellen"
        window = waitForWindow(QStringLiteral("zaak.warmtegloed* – Warmtegloed – Verkenning"), 20000);
        QVERIFY2(!window.isEmpty(), "the edits did not come back");
        QCOMPARE(QFile(path).size(), qint64(saved.size()));

        keys(window, {QStringLiteral("ctrl+s")});
        QVERIFY(
            !waitForWindow(QStringLiteral("zaak.warmtegloed – Warmtegloed – Verkenning"), 20000).isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const casefile::ReadResult back = casefile::ReadCase(file.readAll().toStdString());
        QVERIFY2(back.ok, back.error.c_str());
        QCOMPARE(back.value.calculation.input.B, 33.0);
        // The point followed the middle of the wider face, as it did before the kill.
        QCOMPARE(back.value.calculation.input.y, 16.5);
        QCOMPARE(back.value.meta.title, std::string("Proef"));

        keys(window, {QStringLiteral("ctrl+q")});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(filesIn(QStringLiteral("*")), QStringList());
    }
};

WARMTEGLOED_X_TEST_MAIN(TestCaseAutosaveOnX, QCoreApplication)

#include "tst_case_autosave_on_x.moc"
