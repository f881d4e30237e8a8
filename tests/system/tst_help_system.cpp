#include "form1.h"
#include "help_command.h"
#include "linux_shell.h"
#include "qt_message_box.h"
#include "recording_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kQuestion = QStringLiteral(
    "Help file niet gevonden of Acrobat Reader niet gevonden: Acrobat Reader installeren?");
const QString kImpossible = QStringLiteral("Installatie via internet niet mogelijk gebleken");

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
}

} // namespace

// "Help" and F1 in the real window, with the real shell, against a private freedesktop
// desktop: a recording program registered for PDF and HTML documents by xdg-mime, in
// a folder whose name has a blank. GIO keeps what it has read, so CTest runs every
// scenario in a process of its own.
class TestHelpSystem : public QObject
{
    Q_OBJECT

public:
    explicit TestHelpSystem(const QString &desktop)
        : m_desktop(desktop)
        , m_log(desktop + "/gestart.log")
        , m_programFolder(QCoreApplication::applicationDirPath())
    {
    }

private slots:
    void initTestCase();
    void init();
    void f1OpensHelpFromProgramFolder_data();
    void f1OpensHelpFromProgramFolder();
    void missingDocumentOffersVendorSite();
    void noProgramRegistered();

private:
    void registerRecorder();
    QString makeWorkFolder(const QStringList &documents);
    QStringList started() const;
    void showAndFocus(Form1 &form);

    QString m_desktop;
    QString m_log;
    QString m_programFolder;
    QString m_recorder;
    bool m_registered = false;
    QTemporaryDir m_work;
};

void TestHelpSystem::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    QVERIFY(m_work.isValid());
    // The test program lies beside the programs, so its folder holds the real document.
    QVERIFY2(QFile::exists(m_programFolder + "/Hulpschermen.pdf"), qPrintable(m_programFolder));
    QVERIFY(QFile::exists(m_programFolder + "/dummy.html"));

    m_recorder = m_desktop + "/Opname programma/opname.sh";
    writeFile(m_recorder, "#!/bin/sh\n{ printf '%s' \"$PWD\"; for a in \"$@\"; do printf '|%s' \"$a\"; done; echo; } >> '"
                              + m_log.toUtf8() + "'\n");
    QVERIFY(QFile::setPermissions(m_recorder, QFile::permissions(m_recorder) | QFile::ExeOwner));
    writeFile(m_desktop + "/data/applications/opname.desktop",
              "[Desktop Entry]\nType=Application\nName=Opname\nExec=\"" + m_recorder.toUtf8()
                  + "\" %f\nMimeType=application/pdf;text/html;\n");
}

void TestHelpSystem::init()
{
    QFile::remove(m_log);
}

void TestHelpSystem::registerRecorder()
{
    if (m_registered)
        return;
    for (const char *type : {"application/pdf", "text/html"})
        QCOMPARE(QProcess::execute("xdg-mime", {"default", "opname.desktop", type}), 0);
    m_registered = true;
}

QString TestHelpSystem::makeWorkFolder(const QStringList &documents)
{
    static int count = 0;
    const QString folder = m_work.filePath(QStringLiteral("werkmap %1").arg(++count));
    QDir().mkpath(folder);
    for (const QString &document : documents)
        QFile::copy(m_programFolder + '/' + document, folder + '/' + document);
    return folder;
}

QStringList TestHelpSystem::started() const
{
    QFile file(m_log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

void TestHelpSystem::showAndFocus(Form1 &form)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QWidget *focus = QApplication::focusWidget();
    QVERIFY2(focus && form.isAncestorOf(focus), "the window opens with the focus on one of its inputs");
}

void TestHelpSystem::f1OpensHelpFromProgramFolder_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("opensHelp");

    QTest::newRow("F1") << int(Qt::Key_F1) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Shift+F1") << int(Qt::Key_F1) << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    QTest::newRow("Ctrl+F1") << int(Qt::Key_F1) << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("Alt+F1") << int(Qt::Key_F1) << Qt::KeyboardModifiers(Qt::AltModifier) << true;
    QTest::newRow("Help button") << 0 << Qt::KeyboardModifiers() << true;
    QTest::newRow("F2 does nothing") << int(Qt::Key_F2) << Qt::KeyboardModifiers() << false;
    QTest::newRow("Escape does nothing") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << false;
}

void TestHelpSystem::f1OpensHelpFromProgramFolder()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, opensHelp);
    registerRecorder();

    // The document is looked up where the user stands; the viewer starts in the
    // program's folder and opens the bare name there.
    const QString workFolder = makeWorkFolder({"Hulpschermen.pdf"});
    QVERIFY(QDir::setCurrent(workFolder));
    platform::LinuxShell shell;
    RecordingMessageBox messageBox;
    Form1 form(FormServices{&messageBox, &shell, {}});
    showAndFocus(form);

    if (key == 0)
        QTest::mouseClick(form.Command3, Qt::LeftButton);
    else
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    if (!opensHelp) {
        // A plain F1 afterwards shows that the window still listens and that the key
        // before it started nothing.
        QCOMPARE(QDir::currentPath(), workFolder);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    }

    const QString expected = m_programFolder + "|Hulpschermen.pdf";
    QTRY_COMPARE_WITH_TIMEOUT(started(), QStringList{expected}, 10000);
    QTest::qWait(200);
    QCOMPARE(started(), QStringList{expected});
    QCOMPARE(QDir::currentPath(), m_programFolder);
    QVERIFY(messageBox.shown.isEmpty());
}

void TestHelpSystem::missingDocumentOffersVendorSite()
{
    registerRecorder();
    const QString workFolder = makeWorkFolder({"dummy.html"});
    QVERIFY(QDir::setCurrent(workFolder));
    platform::LinuxShell shell;
    platform::QtMessageBox messageBox;
    Form1 form(FormServices{&messageBox, &shell, {}});
    messageBox.setOwner(&form);
    showAndFocus(form);

    // The real question box: read it and answer Yes as the user would.
    QString prompt;
    QString title;
    bool answered = false;
    QTimer answerer;
    answerer.setInterval(20);
    connect(&answerer, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || answered)
            return;
        prompt = box->text();
        title = box->windowTitle();
        answered = true;
        if (QAbstractButton *yes = box->button(QMessageBox::Yes))
            yes->click();
        else
            box->reject();
    });
    answerer.start();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    answerer.stop();

    QVERIFY(answered);
    QCOMPARE(title, QStringLiteral("Adobe"));
    QCOMPARE(prompt, kQuestion);
    const QString expected = workFolder + '|' + QString::fromLatin1(help::kReaderVendorSite);
    QTRY_COMPARE_WITH_TIMEOUT(started(), QStringList{expected}, 10000);
    QCOMPARE(QDir::currentPath(), workFolder);
}

void TestHelpSystem::noProgramRegistered()
{
    QVERIFY2(!m_registered, "runs in a process without the registration");
    const QString workFolder = makeWorkFolder({"Hulpschermen.pdf", "dummy.html"});
    QVERIFY(QDir::setCurrent(workFolder));
    platform::LinuxShell shell;
    RecordingMessageBox messageBox;
    messageBox.answers << platform::vbYes;
    Form1 form(FormServices{&messageBox, &shell, {}});
    showAndFocus(form);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);

    QCOMPARE(messageBox.shown.size(), 2);
    QCOMPARE(messageBox.shown[0].prompt, kQuestion);
    QCOMPARE(messageBox.shown[0].style, platform::vbYesNo + platform::vbDefaultButton1);
    QCOMPARE(messageBox.shown[1].prompt, kImpossible);
    QCOMPARE(messageBox.shown[1].style, platform::vbOKOnly + platform::vbExclamation);
    QCOMPARE(messageBox.shown[1].title, QStringLiteral("Adobe"));
    QTest::qWait(200);
    QVERIFY(started().isEmpty());
    QCOMPARE(QDir::currentPath(), workFolder);
}

// The desktop must be in place before GIO first reads the environment, that is before
// the application starts: private data and configuration folders, the system's mime
// database and no system-wide registrations.
int main(int argc, char *argv[])
{
    QTemporaryDir desktop;
    if (!desktop.isValid())
        return 1;
    const QString root = desktop.path();
    for (const char *folder : {"/data/applications", "/config", "/dirs", "/config-dirs", "/runtime"})
        QDir().mkpath(root + folder);
    QFile::link(QStringLiteral("/usr/share/mime"), root + "/dirs/mime");
    QFile::setPermissions(root + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + "/data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(root + "/dirs"));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root + "/config-dirs"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root + "/runtime"));

    QApplication app(argc, argv);
    TestHelpSystem test(root);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_help_system.moc"
