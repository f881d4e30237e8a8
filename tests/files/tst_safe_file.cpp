// SafeFile against what a user may name as the file: what is written, what is refused and
// left alone, which mode the file gets, and that no temporary file is ever left behind, also
// when the disk fills up, the file-size limit is reached or the run is interrupted; links that
// another user planted in a shared folder; names that no one can foresee.

#include "safe_file.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kOld = QByteArrayLiteral("het oude rapport\n");
const QByteArray kNew = QByteArrayLiteral("%PDF het nieuwe rapport\n");
constexpr int kDocumentSize = 100000;

// Users other than the one running the test (as root): the link's owner and an ordinary writer.
constexpr int kSelf = -1;
constexpr int kNobody = 65534;
constexpr int kDaemon = 1;

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

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool setMode(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// A small tmpfs over a folder, in a mount namespace of this test's own (made once, so the
// machine's mounts never see it), so that a disk can fill up; unmounted when done.
class SmallDisk
{
public:
    SmallDisk(const QString &folder, int bytes)
        : m_folder(QFile::encodeName(folder))
    {
        static const bool privateMounts =
            ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
        m_mounted =
            privateMounts && ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    bool mounted() const { return m_mounted; }

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

struct ChildRun
{
    bool finished = false;
    QProcess::ExitStatus status = QProcess::NormalExit;
    int exitCode = -1;
    QString error;
    QByteArray output;
};

ChildRun runChild(const QString &target, int size, const QStringList &options)
{
    QProcess child;
    child.start(SAFE_FILE_CHILD, QStringList {target, QString::number(size)} + options);
    ChildRun run;
    run.finished = child.waitForFinished(10000);
    run.status = child.exitStatus();
    run.exitCode = child.exitCode();
    run.error = QString::fromLocal8Bit(child.readAllStandardError());
    run.output = child.readAllStandardOutput();
    return run;
}

} // namespace

class TestSafeFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    int m_case = 0;

    // A fresh folder per case, readable by the unprivileged users the child may become.
    QString freshFolder()
    {
        const QString folder = m_root.filePath(QString::number(++m_case));
        QDir().mkpath(folder);
        setMode(folder, 0755);
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
        if (setup == "chain of links")
            return writeFile(folder + "/echt.pdf", kOld, 0640) && QDir(folder).mkdir("sub")
                && QFile::link("echt.pdf", folder + "/tussen.pdf")
                && ::symlink("sub/../tussen.pdf", path) == 0;
        if (setup == "link loop")
            return ::symlink("rapport.pdf", path) == 0;
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
        setMode(m_root.path(), 0755);
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
        QTest::newRow("link to a link through '..'") << "chain of links" << true << 0640 << "";
        QTest::newRow("link loop") << "link loop" << false << 0 << "te veel symbolische koppelingen";
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
        const QStringList before = entriesOf(folder);
        const mode_t kindBefore = lmodeOf(target);

        QString error;
        QCOMPARE(platform::SafeFile::write(target, kNew, &error), written);

        QStringList after = entriesOf(folder);
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

    // In a child process: the file-size limit, a full disk (a small tmpfs), a disk that fails,
    // an interrupt in the middle of a write, and a folder the user may not write with a file the
    // user may (written in place). The old file survives a failure byte for byte, a file written
    // in place is finished before an interrupt ends the program, and nothing else is left in the
    // folder.
    void child_data()
    {
        QTest::addColumn<QStringList>("options"); // for the child; and readonly, writeonly, disk=N
        QTest::addColumn<int>("signal");          // that ended the child; 0: it exited
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<QString>("message"); // part of the child's message
        const QStringList inPlace {"uid=65534", "readonly"};
        QTest::newRow("file-size limit") << QStringList {"fsize=4096"} << 0 << 3 << false << "groter";
        QTest::newRow("file-size limit, in place")
            << inPlace + QStringList {"fsize=4096"} << 0 << 3 << false << "groter";
        QTest::newRow("full disk") << QStringList {"disk=8192"} << 0 << 3 << false << "schijf is vol";
        QTest::newRow("full disk, in place")
            << inPlace + QStringList {"disk=8192"} << 0 << 3 << false << "schijf is vol";
        QTest::newRow("failing disk, in place")
            << inPlace + QStringList {"fail=50000"} << 0 << 3 << false << "teruggezet";
        QTest::newRow("SIGTERM mid-write") << QStringList {"signal=15"} << SIGTERM << 0 << false << "";
        QTest::newRow("SIGHUP mid-write") << QStringList {"signal=1"} << SIGHUP << 0 << false << "";
        QTest::newRow("SIGTERM mid-write, in place")
            << inPlace + QStringList {"signal=15"} << SIGTERM << 0 << true << "";
        QTest::newRow("SIGXFSZ mid-write") << QStringList {"signal=25"} << 0 << 0 << true << "";
        QTest::newRow("in place") << inPlace << 0 << 0 << true << "";
        QTest::newRow("in place, file not readable")
            << inPlace + QStringList {"writeonly"} << 0 << 3 << false << "niet leesbaar";
    }
    void child()
    {
        QFETCH(QStringList, options);
        QFETCH(int, signal);
        QFETCH(int, exitCode);
        QFETCH(bool, replaced);
        QFETCH(QString, message);
        const bool root = ::geteuid() == 0;
        const QString folder = freshFolder();
        const QString target = folder + "/rapport.pdf";
        const QStringList disk = options.filter("disk=");
        if (!disk.isEmpty() && !root)
            QSKIP("a private tmpfs needs root");
        const SmallDisk smallDisk(folder, disk.isEmpty() ? 0 : disk.first().mid(5).toInt());
        QVERIFY(disk.isEmpty() || smallDisk.mounted());
        options.removeAll(disk.value(0));

        QVERIFY(writeFile(target, kOld, options.removeAll("writeonly") ? 0222 : 0666));
        if (options.removeAll("readonly"))
            QVERIFY(setMode(folder, 0555));
        if (!root)
            options.removeAll("uid=65534"); // an ordinary user cannot write the read-only folder already

        const ChildRun run = runChild(target, kDocumentSize, options);
        QVERIFY(run.finished);
        setMode(folder, 0755);
        setMode(target, 0644);
        // What is on the disk first, then how the child ended.
        QCOMPARE(entriesOf(folder), QStringList {"rapport.pdf"});
        QCOMPARE(contentsOf(target), replaced ? QByteArray(kDocumentSize, 'N') : kOld);
        QCOMPARE(run.status, signal ? QProcess::CrashExit : QProcess::NormalExit);
        QVERIFY2(run.exitCode == (signal ? signal : exitCode), qPrintable(run.error));
        QVERIFY2(run.error.contains(message), qPrintable(run.error));
    }

    // A link in a shared folder, made by another user, that points at a file of the writer:
    // refused where it lies in a sticky folder that everyone may write and belongs to neither
    // the writer nor the folder's owner; followed otherwise.
    void links_data()
    {
        QTest::addColumn<int>("linkOwner");
        QTest::addColumn<int>("folderOwner");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("writer");
        QTest::addColumn<QString>("through"); // the link points at the file, at its folder, or at a new file
        QTest::addColumn<bool>("refused");
        QTest::newRow("someone else's link in /tmp-like folder")
            << kNobody << kSelf << 01777 << kSelf << "file" << true;
        QTest::newRow("the same, written by an ordinary user")
            << kNobody << kSelf << 01777 << kDaemon << "file" << true;
        QTest::newRow("someone else's link to a folder")
            << kNobody << kSelf << 01777 << kSelf << "folder" << true;
        QTest::newRow("someone else's dangling link")
            << kNobody << kSelf << 01777 << kSelf << "new file" << true;
        QTest::newRow("own link") << kSelf << kSelf << 01777 << kSelf << "file" << false;
        QTest::newRow("the folder owner's link") << kNobody << kNobody << 01777 << kSelf << "file" << false;
        QTest::newRow("folder not sticky") << kNobody << kSelf << 0777 << kSelf << "file" << false;
        QTest::newRow("sticky folder that others may not write")
            << kNobody << kSelf << 01755 << kSelf << "file" << false;
    }
    void links()
    {
        QFETCH(int, linkOwner);
        QFETCH(int, folderOwner);
        QFETCH(int, folderMode);
        QFETCH(int, writer);
        QFETCH(QString, through);
        QFETCH(bool, refused);
        if (::geteuid() != 0 && (linkOwner != kSelf || folderOwner != kSelf || writer != kSelf))
            QSKIP("only root makes a link or folder of another user");
        const QString folder = freshFolder();
        const QString shared = folder + "/gedeeld";
        const QString victim = folder + "/eigen";
        QVERIFY(QDir().mkpath(shared) && QDir().mkpath(victim));
        QVERIFY(setMode(victim, 0755));
        QVERIFY(writeFile(victim + "/rapport.pdf", kOld, 0666));
        QString link = shared + "/rapport.pdf";
        QString written = link;
        if (through == "folder") {
            link = shared + "/map";
            written = link + "/rapport.pdf";
        }
        const QString pointsAt = through == "folder" ? victim
            : through == "file"                      ? victim + "/rapport.pdf"
                                                     : victim + "/nieuw.pdf";
        QVERIFY(QFile::link(pointsAt, link));
        if (linkOwner != kSelf)
            QVERIFY(::lchown(QFile::encodeName(link).constData(), uid_t(linkOwner), gid_t(linkOwner)) == 0);
        if (folderOwner != kSelf)
            QVERIFY(::chown(QFile::encodeName(shared).constData(), uid_t(folderOwner), gid_t(folderOwner))
                    == 0);
        QVERIFY(setMode(shared, mode_t(folderMode)));
        const QStringList sharedBefore = entriesOf(shared);
        const QStringList victimBefore = entriesOf(victim);

        QStringList options;
        if (writer != kSelf)
            options << QStringLiteral("uid=%1").arg(writer);
        const ChildRun run = runChild(written, kNew.size(), options);
        QVERIFY(run.finished);
        QCOMPARE(run.status, QProcess::NormalExit);
        QCOMPARE(entriesOf(shared), sharedBefore);
        QVERIFY(S_ISLNK(lmodeOf(link)));
        const QString target = victim + (through == "new file" ? "/nieuw.pdf" : "/rapport.pdf");
        if (refused) {
            QVERIFY2(run.exitCode == 3, qPrintable(run.error));
            QVERIFY2(run.error.contains("symbolische koppeling van een andere gebruiker"),
                     qPrintable(run.error));
            QCOMPARE(entriesOf(victim), victimBefore);
            QCOMPARE(contentsOf(victim + "/rapport.pdf"), kOld);
            QString error;
            QVERIFY(!platform::SafeFile::mayWrite(written, &error)); // asked before a document is made
            QVERIFY2(error.contains(link), qPrintable(error));
            return;
        }
        QVERIFY2(run.exitCode == 0, qPrintable(run.error));
        QCOMPARE(contentsOf(target), QByteArray(kNew.size(), 'N'));
    }

    // Two writers whose process id and clock agree (each the first process of a PID namespace of
    // its own, in the same second) still choose different temporary names: the names come from
    // the system's random source, not from anything another user can know.
    void temporaryNames()
    {
        const QString unshare = QStandardPaths::findExecutable("unshare", {"/usr/bin", "/bin"});
        if (unshare.isEmpty())
            QSKIP("no unshare to make a PID namespace");
        QStringList namespaceOptions {"--pid", "--fork"};
        if (::geteuid() != 0)
            namespaceOptions.prepend("--map-root-user");
        if (::geteuid() != 0)
            namespaceOptions.prepend("--user");
        const QString folder = freshFolder();
        QVERIFY(QDir(folder).mkdir("a") && QDir(folder).mkdir("b"));
        for (int attempt = 0; attempt < 5; ++attempt) {
            QList<QByteArrayList> shown;
            QProcess first;
            QProcess second;
            const QStringList childArguments {QString::number(kNew.size()), "show-name"};
            first.start(unshare,
                        namespaceOptions + QStringList {SAFE_FILE_CHILD, folder + "/a/rapport.pdf"}
                            + childArguments);
            second.start(unshare,
                         namespaceOptions + QStringList {SAFE_FILE_CHILD, folder + "/b/rapport.pdf"}
                             + childArguments);
            QVERIFY(first.waitForFinished(10000) && second.waitForFinished(10000));
            if (first.exitCode() != 0 || second.exitCode() != 0)
                QSKIP(qPrintable("no PID namespace here: " + first.readAllStandardError()));
            const QByteArrayList a = first.readAllStandardOutput().trimmed().split(' ');
            const QByteArrayList b = second.readAllStandardOutput().trimmed().split(' ');
            QCOMPARE(a.size(), 3);
            QCOMPARE(b.size(), 3);
            QCOMPARE(a[0], b[0]); // the same process id
            if (a[1] != b[1])
                continue; // a second passed between the two; try again
            QVERIFY(a[2].startsWith(".rapport.pdf."));
            QVERIFY2(a[2] != b[2], a[2].constData());
            return;
        }
        QFAIL("the two writers never started in the same second");
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safe_file.moc"
