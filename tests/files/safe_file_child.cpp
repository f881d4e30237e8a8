// Writes a document with SafeFile in a process of its own, so that a test can give it a
// file-size limit, another user, a failing disk or an interrupt in the middle of a write.
// Usage: safe_file_child <file> <bytes> [fsize=N] [signal=N] [fail=N] [uid=N] [show-name]
//   fsize=N    the file-size limit (SIGXFSZ keeps its default disposition)
//   signal=N   signal N arrives half-way through the first write
//   fail=N     the disk fails (EIO) once N bytes are written
//   uid=N      write as user and group N (as root)
//   show-name  print "<pid> <time> <name>" of the file the first write goes to

#include "safe_file.h"

#include <QByteArray>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int g_signal = 0;
long g_failAfter = -1;
bool g_showName = false;

// The first write stops half-way, when the signal arrives; later ones write what they are given.
ssize_t interruptedWrite(int fd, const void *data, size_t size)
{
    if (g_signal == 0)
        return ::write(fd, data, size);
    const ssize_t written = ::write(fd, data, size / 2);
    const int signal = g_signal;
    g_signal = 0;
    ::raise(signal);
    return written;
}

// A disk that fails with an I/O error once g_failAfter bytes are written.
ssize_t failingWrite(int fd, const void *data, size_t size)
{
    if (g_failAfter <= 0) {
        errno = EIO;
        return -1;
    }
    const ssize_t written = ::write(fd, data, std::min(size, size_t(g_failAfter)));
    if (written > 0)
        g_failAfter -= written;
    return written;
}

ssize_t namingWrite(int fd, const void *data, size_t size)
{
    if (g_showName) {
        char link[64];
        char name[PATH_MAX];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        const ssize_t length = ::readlink(link, name, sizeof name - 1);
        name[length < 0 ? 0 : length] = '\0';
        const char *base = std::strrchr(name, '/');
        std::printf("%d %lld %s\n", int(::getpid()), static_cast<long long>(std::time(nullptr)),
                    base ? base + 1 : name);
        std::fflush(stdout);
        g_showName = false;
    }
    return ::write(fd, data, size);
}

bool becomeUser(unsigned id)
{
    return ::setgroups(0, nullptr) == 0 && ::setgid(id) == 0 && ::setuid(id) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        return 64;
    for (int i = 3; i < argc; ++i) {
        if (std::strncmp(argv[i], "fsize=", 6) == 0) {
            const rlimit limit {rlim_t(std::atol(argv[i] + 6)), rlim_t(std::atol(argv[i] + 6))};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 65;
        } else if (std::strncmp(argv[i], "signal=", 7) == 0) {
            g_signal = std::atoi(argv[i] + 7);
            platform::SafeFile::setWriteCall(interruptedWrite);
        } else if (std::strncmp(argv[i], "fail=", 5) == 0) {
            g_failAfter = std::atol(argv[i] + 5);
            platform::SafeFile::setWriteCall(failingWrite);
        } else if (std::strncmp(argv[i], "uid=", 4) == 0) {
            if (!becomeUser(unsigned(std::atol(argv[i] + 4))))
                return 66;
        } else if (std::strcmp(argv[i], "show-name") == 0) {
            g_showName = true;
            platform::SafeFile::setWriteCall(namingWrite);
        }
    }
    const QByteArray document(std::atoi(argv[2]), 'N');
    QString error;
    if (platform::SafeFile::write(QString::fromLocal8Bit(argv[1]), document, &error))
        return 0;
    std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    return 3;
}
