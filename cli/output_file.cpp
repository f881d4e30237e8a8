#include "output_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {
namespace {

QString reason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

bool mayReplace(const QString &path, QString &error)
{
    struct stat existing;
    if (::lstat(QFile::encodeName(path).constData(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        error = QStringLiteral("'%1' is geen gewoon bestand en wordt niet vervangen.").arg(path);
        return false;
    }
    return true;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString &error)
{
    const QByteArray target = QFile::encodeName(path);
    if (!mayReplace(path, error))
        return false;

    const QFileInfo info(path);
    QByteArray pattern = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()
                                           + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = QStringLiteral("Kan geen tijdelijk bestand maken naast '%1': %2").arg(path, reason());
        return false;
    }
    // mkstemp makes the file private; give it the permissions a new file normally gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const QString failure = ok ? QString() : reason();
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(pattern.constData(), target.constData()) != 0) {
        ok = false;
        error = QStringLiteral("Kan '%1' niet schrijven: %2").arg(path, reason());
        ::unlink(pattern.constData());
        return false;
    }
    if (!ok) {
        error =
            QStringLiteral("Kan '%1' niet schrijven: %2").arg(path, failure.isEmpty() ? reason() : failure);
        ::unlink(pattern.constData());
        return false;
    }
    // The new name itself is made durable by syncing the folder.
    const int folder = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

} // namespace cli
