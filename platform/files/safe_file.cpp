#include "safe_file.h"

#include "system_error_text.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

SafeFile::WriteCall g_writeCall = ::write;

// ---- The temporary file's removal when the program is interrupted while writing.

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = int(sizeof kSignals / sizeof kSignals[0]);

char g_tempPath[PATH_MAX + 1];
volatile sig_atomic_t g_tempArmed = 0;
struct sigaction g_previous[kSignalCount];
volatile sig_atomic_t g_installed[kSignalCount];

// Only async-signal-safe calls: remove the half-written file, put the program's own
// disposition back and deliver the signal again, so the program ends (or handles it)
// as it would have without us.
void removeTempAndRaise(int signal)
{
    if (g_tempArmed) {
        ::unlink(g_tempPath);
        g_tempArmed = 0;
    }
    for (int i = 0; i < kSignalCount; ++i) {
        if (kSignals[i] == signal && g_installed[i]) {
            ::sigaction(signal, &g_previous[i], nullptr);
            g_installed[i] = 0;
        }
    }
    ::raise(signal);
}

// Holds the interrupt signals back around the steps that create, rename or remove the
// temporary file, so that the handler never sees a half-registered name.
class SignalBlock
{
public:
    SignalBlock()
    {
        sigset_t set;
        sigemptyset(&set);
        for (int signal : kSignals)
            sigaddset(&set, signal);
        sigprocmask(SIG_BLOCK, &set, &m_previous);
    }
    ~SignalBlock() { sigprocmask(SIG_SETMASK, &m_previous, nullptr); }
    SignalBlock(const SignalBlock &) = delete;
    SignalBlock &operator=(const SignalBlock &) = delete;

private:
    sigset_t m_previous;
};

// The handlers stand while one document is written; a signal the program ignores
// (nohup) stays ignored.
class InterruptCleanup
{
public:
    InterruptCleanup()
    {
        struct sigaction action
        { };
        action.sa_handler = removeTempAndRaise;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < kSignalCount; ++i) {
            ::sigaction(kSignals[i], nullptr, &g_previous[i]);
            if (g_previous[i].sa_handler == SIG_IGN)
                continue;
            g_installed[i] = ::sigaction(kSignals[i], &action, nullptr) == 0 ? 1 : 0;
        }
    }
    ~InterruptCleanup()
    {
        const SignalBlock block;
        g_tempArmed = 0;
        for (int i = 0; i < kSignalCount; ++i) {
            if (g_installed[i])
                ::sigaction(kSignals[i], &g_previous[i], nullptr);
            g_installed[i] = 0;
        }
    }
    InterruptCleanup(const InterruptCleanup &) = delete;
    InterruptCleanup &operator=(const InterruptCleanup &) = delete;

    // Called with the signals blocked.
    static void arm(const QByteArray &path)
    {
        std::memcpy(g_tempPath, path.constData(), std::size_t(path.size()) + 1);
        g_tempArmed = 1;
    }
    static void disarm() { g_tempArmed = 0; }
};

// ---- Paths and messages.

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// Follows symbolic links to the file that is written in the end; a dangling link names
// the file to create.
bool resolveLinks(QByteArray path, QByteArray &target, int &error)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (::lstat(path.constData(), &info) != 0) {
            error = errno;
            if (error != ENOENT)
                return false;
            target = path;
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        char buffer[PATH_MAX];
        const ssize_t size = ::readlink(path.constData(), buffer, sizeof buffer);
        if (size < 0 || size == ssize_t(sizeof buffer)) {
            error = size < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        const QByteArray link(buffer, size);
        path = link.startsWith('/') ? link : folderOf(path) + '/' + link;
    }
    error = ELOOP;
    return false;
}

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("een map");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("een apparaat");
    if (S_ISFIFO(mode))
        return QStringLiteral("een FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("een socket");
    return QStringLiteral("geen bestand");
}

QString reason(int error)
{
    return systemErrorText(error);
}

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

bool writeAll(int fd, const QByteArray &contents, int &error)
{
    const char *data = contents.constData();
    qsizetype left = contents.size();
    while (left > 0) {
        const ssize_t written = g_writeCall(fd, data, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error = written < 0 ? errno : ENOSPC;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// A name beside the target that no one else uses: created with O_EXCL, so an existing
// file (or a link planted under that name) is never opened.
int createTemporary(const QByteArray &folder, const QByteArray &name, QByteArray &tempPath, int &error)
{
    static std::minstd_rand random(unsigned(::getpid()) ^ unsigned(std::time(nullptr)));
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray candidate = folder + "/." + name.left(200) + '.';
        for (int i = 0; i < 6; ++i)
            candidate += kLetters[random() % (sizeof kLetters - 1)];
        // 0666: the kernel takes the umask off for a new file.
        const int fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            tempPath = candidate;
            return fd;
        }
        if (errno != EEXIST) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

// Puts the written file on the disk and closes it; `ok` so far and the first failure's
// errno in `error`.
bool syncAndClose(int fd, bool ok, int &error)
{
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok;
}

// The folder may not be written but the file may: the document goes into the file
// itself, which cannot be undone halfway.
bool writeInPlace(const QString &shown, const QByteArray &target, const struct stat &before,
                  const QByteArray &contents, QString *message)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        setError(message, QStringLiteral("'%1' kan niet worden geschreven: %2.").arg(shown, reason(errno)));
        return false;
    }
    struct stat now;
    int error = 0;
    bool ok = ::fstat(fd, &now) == 0 && S_ISREG(now.st_mode) && now.st_dev == before.st_dev
        && now.st_ino == before.st_ino;
    if (!ok)
        error = EAGAIN; // replaced by something else meanwhile
    ok = ok && writeAll(fd, contents, error);
    if (ok && ::ftruncate(fd, contents.size()) != 0) {
        ok = false;
        error = errno;
    }
    ok = syncAndClose(fd, ok, error);
    if (!ok)
        setError(message,
                 QStringLiteral("Schrijven in '%1' is mislukt: %2; het bestand kan onvolledig zijn.")
                     .arg(shown, reason(error)));
    return ok;
}

} // namespace

SafeFile::WriteCall SafeFile::setWriteCall(WriteCall call)
{
    const WriteCall previous = g_writeCall;
    g_writeCall = call ? call : ::write;
    return previous;
}

namespace {

// The file a write of `path` lands in (links followed) and what is there now; false, with
// the Dutch message, when that is no regular file or cannot be looked at.
bool examine(const QString &path, QByteArray &target, struct stat &existing, bool &exists, QString *message)
{
    const QByteArray given = QFile::encodeName(path);
    int error = 0;
    if (given.isEmpty() || !resolveLinks(given, target, error)) {
        setError(message,
                 QStringLiteral("'%1' kan niet worden geschreven: %2.")
                     .arg(path, reason(given.isEmpty() ? ENOENT : error)));
        return false;
    }
    exists = ::stat(target.constData(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        setError(message, QStringLiteral("'%1' kan niet worden geschreven: %2.").arg(path, reason(errno)));
        return false;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        setError(message,
                 QStringLiteral("'%1' is geen gewoon bestand maar %2; het blijft zoals het is.")
                     .arg(path, kindOf(existing.st_mode)));
        return false;
    }
    return true;
}

} // namespace

bool SafeFile::mayWrite(const QString &path, QString *message)
{
    QByteArray target;
    struct stat existing;
    bool exists = false;
    return examine(path, target, existing, exists, message);
}

bool SafeFile::write(const QString &path, const QByteArray &contents, QString *message)
{
    QByteArray target;
    struct stat existing;
    bool exists = false;
    if (!examine(path, target, existing, exists, message))
        return false;
    int error = 0;

    const QByteArray folder = folderOf(target);
    const QByteArray name = target.mid(target.lastIndexOf('/') + 1);
    const InterruptCleanup cleanup;
    QByteArray tempPath;
    int fd = -1;
    {
        const SignalBlock block;
        fd = createTemporary(folder, name, tempPath, error);
        if (fd >= 0)
            InterruptCleanup::arm(tempPath);
    }
    if (fd < 0) {
        if (exists && (error == EACCES || error == EPERM) && ::access(target.constData(), W_OK) == 0)
            return writeInPlace(path, target, existing, contents, message);
        setError(message, QStringLiteral("'%1' kan niet worden geschreven: %2.").arg(path, reason(error)));
        return false;
    }

    bool ok = writeAll(fd, contents, error);
    if (ok && exists) {
        // The replaced file's owner where we may set it (as root), and its mode.
        [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
        if (::fchmod(fd, existing.st_mode & 07777) != 0) {
            ok = false;
            error = errno;
        }
    }
    ok = syncAndClose(fd, ok, error);
    {
        const SignalBlock block;
        if (ok && ::rename(tempPath.constData(), target.constData()) != 0) {
            ok = false;
            error = errno;
        }
        if (!ok)
            ::unlink(tempPath.constData());
        InterruptCleanup::disarm();
    }
    if (!ok) {
        setError(message,
                 QStringLiteral("'%1' kon niet worden geschreven: %2; %3")
                     .arg(path, reason(error),
                          exists ? QStringLiteral("het bestaande bestand is ongewijzigd.")
                                 : QStringLiteral("er is geen bestand gemaakt.")));
        return false;
    }

    // The new name itself must survive a power cut too.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        const bool synced = ::fsync(folderFd) == 0 || errno == EINVAL;
        error = errno;
        ::close(folderFd);
        if (!synced) {
            setError(message,
                     QStringLiteral("'%1' is geschreven, maar de map kon niet worden bijgewerkt: %2.")
                         .arg(path, reason(error)));
            return false;
        }
    }
    return true;
}

} // namespace platform
