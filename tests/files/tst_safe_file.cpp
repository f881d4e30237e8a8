// SafeFile against what a user may name as the file: what is written, what is refused and
// left alone, which mode the file gets, and that no temporary file is ever left behind, also
// when the disk fills up or the run is interrupted.

#include "safe_file.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kOld = QByteArrayLiteral("het oude rapport\n");
const QByteArray kNew = QByteArrayLiteral("%PDF het nieuwe rapport\n");

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(onleesbaar)");
}

bool writeFile(const QString &path, const QByteArray &contents, mode_t mode)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.flush()
        && ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

bool makeSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

// The kind and permission bits of what stands at a path, without following a link.
mode_t lmodeOf(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

} // namespace

class TestSafeFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    int m_case = 0;

    // A fresh folder per case, readable by the unprivileged user the child may become.
    QString freshFolder()
    {
        const QString folder = m_root.filePath(QString::number(++m_case));
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        return folder;
    }

    // Makes what the case names at `folder`/rapport.pdf (and beside it); false if it cannot.
    bool plant(const QString &setup, const QString &folder)
    {
        const QString target = folder + "/rapport.pdf";
        const QByteArray path = QFile::encodeName(target);
        if (setup == "nothing")
            return true;
        if (setup == "file 0604")
            return writeFile(target, kOld, 0604);
        if (setup == "link to file")
            return writeFile(folder + "/echt.pdf", kOld, 0640) && QFile::link("echt.pdf", target);
        if (setup == "directory")
            return QDir().mkdir(target);
        if (setup == "FIFO")
            return ::mkfifo(path, 0644) == 0;
        if (setup == "socket")
            return makeSocket(target);
        if (setup == "character device")
            return ::mknod(path, S_IFCHR | 0666, makedev(1, 3)) == 0; // as /dev/null
        return false;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        ::chmod(QFile::encodeName(m_root.path()).constData(), 0755);
        ::umask(027);
    }

    void write_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("mode");        // of the file written, through links
        QTest::addColumn<QString>("message"); // part of the refusal
        QTest::newRow("new file: 0666 minus the umask") << "nothing" << true << 0640 << "";
        QTest::newRow("replaced file keeps its mode") << "file 0604" << true << 0604 << "";
        QTest::newRow("link: its target written") << "link to file" << true << 0640 << "";
        QTest::newRow("directory") << "directory" << false << 0 << "een map";
        QTest::newRow("FIFO") << "FIFO" << false << 0 << "een FIFO";
        QTest::newRow("socket") << "socket" << false << 0 << "een socket";
        QTest::newRow("character device") << "character device" << false << 0 << "een apparaat";
    }
    void write()
    {
        QFETCH(QString, setup);
        QFETCH(bool, written);
        QFETCH(int, mode);
        QFETCH(QString, message);
        if (setup == "character device" && ::geteuid() != 0)
            QSKIP("only root makes a device node");
        const QString folder = freshFolder();
        const QString target = folder + "/rapport.pdf";
        QVERIFY(plant(setup, folder));
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        const mode_t kindBefore = lmodeOf(target);

        QString error;
        QCOMPARE(platform::SafeFile::write(target, kNew, &error), written);

        QStringList after = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        if (setup == "nothing")
            after.removeOne("rapport.pdf");
        QCOMPARE(after, before); // no temporary file left
        QCOMPARE(S_ISLNK(lmodeOf(target)), S_ISLNK(kindBefore));
        if (!written) {
            QCOMPARE(lmodeOf(target), kindBefore);
            QVERIFY2(error.contains(message) && error.contains(target) && !error.contains('\n'),
                     qPrintable(error));
            return;
        }
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(contentsOf(target), kNew);
        QCOMPARE(int(lmodeOf(QFileInfo(target).canonicalFilePath()) & 07777), mode);
    }

    // In a child process: a disk that fills up (a file size limit), an interrupt in the middle of a
    // write, and a folder the user may not write with a file the user may; the old file survives
    // a failure byte for byte, and nothing else is left in the folder.
    void child_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("signal"); // that ended the child; 0: it exited
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("disk full") << QStringList {"fsize=4096"} << 100000 << 0 << 3 << false;
        QTest::newRow("SIGTERM mid-write") << QStringList {"signal=15"} << 100000 << SIGTERM << 0 << false;
        QTest::newRow("SIGHUP mid-write") << QStringList {"signal=1"} << 100000 << SIGHUP << 0 << false;
        QTest::newRow("folder not writable, file is")
            << QStringList {"nobody", "readonly"} << 5000 << 0 << 0 << true;
    }
    void child()
    {
        QFETCH(QStringList, options);
        QFETCH(int, size);
        QFETCH(int, signal);
        QFETCH(int, exitCode);
        QFETCH(bool, replaced);
        const QString folder = freshFolder();
        const QString target = folder + "/rapport.pdf";
        QVERIFY(writeFile(target, kOld, 0666));
        if (options.removeAll("readonly"))
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
        if (options.contains("nobody") && ::geteuid() != 0)
            options.removeAll("nobody"); // an ordinary user cannot write the read-only folder already

        QProcess child;
        child.start(SAFE_FILE_CHILD, QStringList {target, QString::number(size)} + options);
        QVERIFY(child.waitForFinished(10000));
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        const QString error = QString::fromLocal8Bit(child.readAllStandardError());
        if (signal) {
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        } else {
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QVERIFY2(child.exitCode() == exitCode, qPrintable(error));
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList {"rapport.pdf"});
        QCOMPARE(contentsOf(target), replaced ? QByteArray(size, 'N') : kOld);
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safe_file.moc"
