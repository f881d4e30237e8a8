#include "safe_file.h"

#include "file_target.h"
#include "system_error_text.h"
#include "write_signals.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

SafeFile::WriteCall g_writeCall = ::write;

// The signal dispositions are the process's: one document at a time.
std::mutex g_writing;

// ---- The messages, one line each, naming the file as the user gave it.

// Where writing a document gives a general error a narrower meaning, it says so; every other
// error in the program's common words.
QString reason(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("de map bestaat niet");
    case EISDIR:
        return QStringLiteral("de naam eindigt op een map");
    case EEXIST:
        return QStringLiteral("geen vrije tijdelijke naam in de map");
    default:
        return systemErrorText(error);
    }
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

QString cannotWrite(const QString &path, int error)
{
    return QStringLiteral("'%1' kan niet worden geschreven: %2.").arg(path, reason(error));
}

QString notAFile(const QString &path, mode_t mode)
{
    return QStringLiteral("'%1' is geen gewoon bestand maar %2; het blijft zoals het is.")
        .arg(path, kindOf(mode));
}

QString foreignLink(const QString &path, const QString &link)
{
    if (link == path)
        return QStringLiteral(
                   "'%1' is een symbolische koppeling van een andere gebruiker in een gedeelde map; "
                   "er is niets geschreven.")
            .arg(path);
    return QStringLiteral("'%1' wordt niet geschreven: '%2' is een symbolische koppeling van een andere "
                          "gebruiker in een gedeelde map.")
        .arg(path, link);
}

QString replaceFailed(const QString &path, int error, bool existed)
{
    return QStringLiteral("'%1' kon niet worden geschreven: %2; %3")
        .arg(path, reason(error),
             existed ? QStringLiteral("het bestaande bestand is ongewijzigd.")
                     : QStringLiteral("er is geen bestand gemaakt."));
}

QString unreadableInPlace(const QString &path)
{
    return QStringLiteral(
               "'%1' kan niet veilig worden overschreven: de map is niet schrijfbaar en het bestand "
               "niet leesbaar; het bestand is ongewijzigd.")
        .arg(path);
}

QString inPlaceFailed(const QString &path, int error, bool restored)
{
    return QStringLiteral("Schrijven in '%1' is mislukt: %2; %3")
        .arg(path, reason(error),
             restored ? QStringLiteral("het oude bestand is teruggezet.")
                      : QStringLiteral("het oude bestand kon niet worden teruggezet en is beschadigd."));
}

QString folderNotSynced(const QString &path, int error)
{
    return QStringLiteral("'%1' is geschreven, maar de map kon niet worden bijgewerkt: %2.")
        .arg(path, reason(error));
}

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

// ---- Writing, each returning 0 or the errno of the first failure.

int writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = g_writeCall(fd, data, std::size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        data += written;
        size -= written;
    }
    return 0;
}

int readAt(int fd, char *data, qsizetype size)
{
    off_t offset = 0;
    while (size > 0) {
        const ssize_t read = ::pread(fd, data, std::size_t(size), offset);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            return read < 0 ? errno : EIO;
        data += read;
        size -= read;
        offset += read;
    }
    return 0;
}

// The blocks for `size` bytes from `offset`, taken before a byte is written, so that a full
// disk or the file-size limit shows before anything changes. A file system that cannot
// reserve ahead is written all the same.
int reserve(int fd, off_t offset, off_t size)
{
    if (size <= 0)
        return 0;
    const int error = ::posix_fallocate(fd, offset, size);
    return error == EOPNOTSUPP || error == ENOSYS || error == EINVAL ? 0 : error;
}

// ".<name>.<12 letters>" beside the target, the letters from the system's random source, so
// that no other user can foresee the name. Created with O_EXCL: an existing file, or a link
// planted under that name, is never opened.
int createTemporary(int folder, const QByteArray &name, QByteArray &tempName, int &error)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_";
    static_assert(sizeof kLetters - 1 == 64, "one letter for each 6 random bits");
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[12];
        const ssize_t got = ::getrandom(random, sizeof random, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got != ssize_t(sizeof random)) {
            error = got < 0 ? errno : EIO;
            return -1;
        }
        tempName = '.' + name.left(200) + '.';
        for (unsigned char bits : random)
            tempName += kLetters[bits % 64];
        // 0666: the kernel takes the umask off for a new file.
        const int fd = ::openat(folder, tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

// Puts the written file on the disk and closes it; `error` so far in, the first failure out.
int syncAndClose(int fd, int error)
{
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    return error;
}

// The old bytes back over the first part of the file, at its old size.
bool putBack(int fd, const QByteArray &old, off_t oldSize)
{
    const char *data = old.constData();
    qsizetype left = old.size();
    off_t offset = 0;
    while (left > 0) {
        const ssize_t written = ::pwrite(fd, data, std::size_t(left), offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
        offset += written;
    }
    return ::ftruncate(fd, oldSize) == 0 && ::fsync(fd) == 0;
}

// One document written to the file that `target` found.
class Writing
{
public:
    Writing(const QString &shown, const FileTarget &target, const char *data, qsizetype size,
            QString *message)
        : m_shown(shown)
        , m_target(target)
        , m_data(data)
        , m_size(size)
        , m_message(message)
    { }

    // A temporary file beside the target, renamed over it when it is whole and on the disk.
    bool replace()
    {
        QByteArray tempName;
        int error = 0;
        m_signals.hold();
        const int fd = createTemporary(m_target.folder(), m_target.name(), tempName, error);
        if (fd >= 0)
            m_signals.arm(m_target.folder(), tempName.constData());
        m_signals.release();
        if (fd < 0) {
            if (m_target.exists() && (error == EACCES || error == EPERM))
                return writeInPlace(error);
            setError(m_message, cannotWrite(m_shown, error));
            return false;
        }

        error = reserve(fd, 0, m_size);
        if (!error)
            error = writeAll(fd, m_data, m_size);
        if (!error && m_target.exists()) {
            // The replaced file's owner where we may set it (as root), and its mode.
            [[maybe_unused]] const int owned =
                ::fchown(fd, m_target.status().st_uid, m_target.status().st_gid);
            if (::fchmod(fd, m_target.status().st_mode & 07777) != 0)
                error = errno;
        }
        error = syncAndClose(fd, error);
        m_signals.hold();
        if (!error
            && ::renameat(m_target.folder(), tempName.constData(), m_target.folder(),
                          m_target.name().constData())
                != 0)
            error = errno;
        if (error)
            ::unlinkat(m_target.folder(), tempName.constData(), 0);
        m_signals.disarm();
        m_signals.release();
        if (error) {
            setError(m_message, replaceFailed(m_shown, error, m_target.exists()));
            return false;
        }
        return syncFolder();
    }

private:
    // The folder may not be written but the file may: the document goes into the file itself.
    // That is made safe by keeping the bytes it overwrites (so the file must be readable too),
    // reserving the new size first and, should a write fail all the same, putting the old
    // bytes back; interrupts wait until the file is finished.
    bool writeInPlace(int folderError)
    {
        const char *name = m_target.name().constData();
        const int fd = ::openat(m_target.folder(), name, O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            const int writeOnly =
                ::openat(m_target.folder(), name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (writeOnly >= 0)
                ::close(writeOnly);
            setError(m_message,
                     writeOnly >= 0 ? unreadableInPlace(m_shown) : cannotWrite(m_shown, folderError));
            return false;
        }
        m_signals.hold();
        const bool ok = writeInto(fd);
        m_signals.release();
        return ok;
    }

    bool writeInto(int fd)
    {
        struct stat now;
        const struct stat &before = m_target.status();
        if (::fstat(fd, &now) != 0 || !S_ISREG(now.st_mode) || now.st_dev != before.st_dev
            || now.st_ino != before.st_ino) {
            ::close(fd);
            setError(m_message, replaceFailed(m_shown, EAGAIN, true)); // replaced by something else meanwhile
            return false;
        }
        const off_t oldSize = now.st_size;
        QByteArray old(qsizetype(std::min<off_t>(oldSize, m_size)), Qt::Uninitialized);
        int error = readAt(fd, old.data(), old.size());
        if (!error)
            error = reserve(fd, oldSize, off_t(m_size) - oldSize);
        if (error) {
            // Nothing written yet; a reservation that got part-way is given back.
            [[maybe_unused]] const int truncated = ::ftruncate(fd, oldSize);
            ::close(fd);
            setError(m_message, replaceFailed(m_shown, error, true));
            return false;
        }
        error = writeAll(fd, m_data, m_size);
        if (!error && m_size < oldSize && ::ftruncate(fd, m_size) != 0)
            error = errno;
        if (!error && ::fsync(fd) != 0)
            error = errno;
        if (error) {
            const bool restored = putBack(fd, old, oldSize);
            ::close(fd);
            setError(m_message, inPlaceFailed(m_shown, error, restored));
            return false;
        }
        if (::close(fd) != 0) {
            setError(m_message, inPlaceFailed(m_shown, errno, false));
            return false;
        }
        return true;
    }

    // The new name itself must survive a power cut too.
    bool syncFolder()
    {
        const int folder = ::openat(m_target.folder(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0)
            return true; // a folder we may not read cannot be synced; the file itself is on the disk
        const bool synced = ::fsync(folder) == 0 || errno == EINVAL;
        const int error = errno;
        ::close(folder);
        if (!synced)
            setError(m_message, folderNotSynced(m_shown, error));
        return synced;
    }

    const QString &m_shown;
    const FileTarget &m_target;
    const char *m_data;
    qsizetype m_size;
    QString *m_message;
    WriteSignals m_signals;
};

// Finds the file a write of `path` lands in; false, with the message, when that is no
// regular file, is reached through someone else's link in a shared folder, or cannot be
// looked at.
bool examine(const QString &path, FileTarget &target, QString *message)
{
    switch (target.resolve(QFile::encodeName(path))) {
    case FileTarget::Outcome::Failed:
        setError(message, cannotWrite(path, target.error()));
        return false;
    case FileTarget::Outcome::ForeignLink:
        setError(message, foreignLink(path, QFile::decodeName(target.foreignLink())));
        return false;
    case FileTarget::Outcome::Found:
        break;
    }
    if (target.exists() && !S_ISREG(target.status().st_mode)) {
        setError(message, notAFile(path, target.status().st_mode));
        return false;
    }
    return true;
}

} // namespace

SafeFile::WriteCall SafeFile::setWriteCall(WriteCall call)
{
    const WriteCall previous = g_writeCall;
    g_writeCall = call ? call : ::write;
    return previous;
}

bool SafeFile::mayWrite(const QString &path, QString *message)
{
    FileTarget target;
    return examine(path, target, message);
}

bool SafeFile::write(const QString &path, const QByteArray &contents, QString *message)
{
    return write(path, contents.constData(), contents.size(), message);
}

bool SafeFile::write(const QString &path, const char *data, qsizetype size, QString *message)
{
    const std::lock_guard<std::mutex> lock(g_writing);
    FileTarget target;
    if (!examine(path, target, message))
        return false;
    Writing writing(path, target, data, size, message);
    return writing.replace();
}

} // namespace platform
