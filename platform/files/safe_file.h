#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace platform {

// Writes a finished document (a report, an export) to a file so that nothing is lost:
// only a regular file is ever written or replaced; the document goes to a temporary file
// in the same folder, every write is checked, the file is flushed to the disk and then
// renamed over the old one in one step. A failure, or an interrupt (SIGINT, SIGTERM,
// SIGHUP) while writing, leaves the old file as it was and no temporary file behind.
//
// - A new file gets 0666 minus the umask; a replaced file keeps its mode (and, where
//   permitted, its owner).
// - A symbolic link is followed: its final target is written and the link stays.
// - A file with several hard links is replaced under this name only; its other names
//   keep the previous document (the price of the atomic replacement).
// - Where the folder is not writable but the file is, the document is written into the
//   file in place (not atomic: a write error is reported, the file may then be partly
//   written).
class SafeFile
{
public:
    // Returns true when the whole document is on the disk under `path`; otherwise false
    // and, in `error`, a one-line Dutch message that names the file.
    static bool write(const QString &path, const QByteArray &contents, QString *error = nullptr);

    // Whether `path` may be written at all (it is a regular file, also behind links, or
    // does not exist yet), so that a program can refuse before it composes a document.
    static bool mayWrite(const QString &path, QString *error = nullptr);

    // The system call that writes the bytes, replaceable so that tests can provoke a
    // short write or an interrupt in the middle of one. Returns the previous one.
    using WriteCall = ssize_t (*)(int fd, const void *data, size_t size);
    static WriteCall setWriteCall(WriteCall call);
};

} // namespace platform
