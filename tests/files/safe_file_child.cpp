// Writes a document with SafeFile in a process of its own, so that a test can give it
// a file size limit, another user or an interrupt in the middle of a write.
// Usage: safe_file_child <file> <bytes> [fsize=N] [signal=N] [nobody]

#include "safe_file.h"

#include <QByteArray>

#include <csignal>
#include <cstdio>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

namespace {

int g_signal = 0;

// Writes half of what it is given, then the signal arrives.
ssize_t interruptedWrite(int fd, const void *data, size_t size)
{
    const ssize_t written = ::write(fd, data, size / 2);
    ::raise(g_signal);
    return written;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        return 64;
    for (int i = 3; i < argc; ++i) {
        if (std::strncmp(argv[i], "fsize=", 6) == 0) {
            // A disk that fills up: writes beyond the limit fail with EFBIG.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit {rlim_t(std::atol(argv[i] + 6)), rlim_t(std::atol(argv[i] + 6))};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 65;
        } else if (std::strncmp(argv[i], "signal=", 7) == 0) {
            g_signal = std::atoi(argv[i] + 7);
            platform::SafeFile::setWriteCall(interruptedWrite);
        } else if (std::strcmp(argv[i], "nobody") == 0 && getuid() == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                return 66;
        }
    }
    const QByteArray document(std::atoi(argv[2]), 'N');
    QString error;
    if (platform::SafeFile::write(QString::fromLocal8Bit(argv[1]), document, &error))
        return 0;
    std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    return 3;
}
