#include "form1.h"
#include "help_command.h"
#include "linux_shell.h"
#include "recording_message_box.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// "Help" and F1 in the real window and shell, against a private desktop where xdg-mime registers
// a recording program for PDF and HTML (tst_help_document reads the help document itself).
class TestHelpSystem : public QObject
{
    Q_OBJECT

    const QString m_log = qEnvironmentVariable("XDG_DATA_HOME") + "/gestart.log";
    const QString m_programFolder = QCoreApplication::applicationDirPath();
    QTemporaryDir m_work;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        // The viewer's path has a blank; a program planted at its first word must never run.
        const QString data = qEnvironmentVariable("XDG_DATA_HOME"), recorder = data + "/Pdf Viewer/viewer.sh";
        const auto write = [](const QString &path, const QString &content) {
            QFile file(path);
            return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)
                && file.write(content.toUtf8()) > 0
                && file.setPermissions(file.permissions() | QFile::ExeOwner);
        };
        QVERIFY(write(
            recorder,
            "#!/bin/sh\n{ printf '%s' \"$PWD\"; for a in \"$@\"; do printf '|%s' \"$a\"; done; echo; } >> '"
                + m_log + "'\n"));
        QVERIFY(write(data + "/Pdf", "#!/bin/sh\necho \"planted|$*\" >> '" + m_log + "'\n"));
        // The line's own arguments count too: env must get "-u" and the name.
        QVERIFY(write(data + "/applications/opname.desktop",
                      "[Desktop Entry]\nType=Application\nName=Opname\nExec=env -u WARMTEGLOED_NIETS \""
                          + recorder + "\" %f\nMimeType=application/pdf;text/html;\n"));
        for (const char *type : {"application/pdf", "text/html"})
            QCOMPARE(QProcess::execute("xdg-mime", {"default", "opname.desktop", type}), 0);
    }

    // Keys for the focused input ("Help" clicks the button), the user's folder's document, the recorder's
    // folder and argument ("@" program folder, "~" user's folder, current after), the boxes shown.
    void openHelp_data()
    {
        QTest::addColumn<QString>("keys");         // "Help" clicks the button
        QTest::addColumn<QString>("document");     // in the user's folder
        QTest::addColumn<bool>("inProgramFolder"); // where the program starts; else the user's folder
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QStringList>("boxes");
        const QString question =
            "Adobe (4): Help file niet gevonden of Acrobat Reader niet gevonden: Acrobat Reader installeren?";
        for (const char *keys : {"F1", "Shift+F1", "Ctrl+F1", "Alt+F1", "Help"})
            QTest::newRow(keys) << keys << "Hulpschermen.pdf" << true << "Hulpschermen.pdf" << QStringList();
        QTest::newRow("F2 does nothing") << "F2, F1"
                                         << "Hulpschermen.pdf" << true << "Hulpschermen.pdf" << QStringList();
        QTest::newRow("no document, Yes")
            << "F1"
            << "dummy.html" << false << help::kReaderVendorSite << QStringList {question};
    }
    void openHelp()
    {
        QFETCH(QString, keys);
        QFETCH(QString, document);
        QFETCH(bool, inProgramFolder);
        QFETCH(QString, argument);
        QFETCH(QStringList, boxes);
        const QString userFolder = m_work.filePath(QStringLiteral("werk map ") + QTest::currentDataTag());
        QVERIFY(QDir().mkpath(userFolder));
        QVERIFY(QFile::copy(m_programFolder + '/' + document, userFolder + '/' + document));
        QVERIFY(QDir::setCurrent(userFolder));
        QFile::remove(m_log);
        platform::LinuxShell shell;
        RecordingMessageBox messageBox;
        messageBox.answers << platform::vbYes;
        Form1 form(FormServices {&messageBox, &shell, {}});
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(form.isAncestorOf(QApplication::focusWidget()));
        if (keys == "Help")
            QTest::mouseClick(form.Command3, Qt::LeftButton);
        else
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(keys));

        // The recorder writes the folder it runs in and its arguments.
        const QString folder = inProgramFolder ? m_programFolder : userFolder;
        const QString expected = folder + '|' + argument;
        const auto started = [this] {
            QFile log(m_log);
            return log.open(QIODevice::ReadOnly)
                ? QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts)
                : QStringList();
        };
        QTRY_COMPARE_WITH_TIMEOUT(started(), QStringList {expected}, 10000);
        QTest::qWait(200); // and nothing more
        QCOMPARE(started(), QStringList {expected});
        QCOMPARE(QDir::currentPath(), folder);
        QCOMPARE(messageBox.shown, boxes);
    }
};

// The desktop must be in place before GIO first reads the environment: private data and
// configuration folders, the system's mime database and no system-wide registrations.
int main(int argc, char *argv[])
{
    QTemporaryDir desktop;
    for (const char *name : {"DATA_HOME", "CONFIG_HOME", "DATA_DIRS", "CONFIG_DIRS", "RUNTIME_DIR"}) {
        QDir().mkdir(desktop.filePath(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(QByteArray("XDG_") + name, QFile::encodeName(desktop.filePath(name)));
    }
    QFile::link(QStringLiteral("/usr/share/mime"), desktop.filePath("DATA_DIRS/mime"));
    QApplication app(argc, argv);
    TestHelpSystem test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_help_system.moc"
