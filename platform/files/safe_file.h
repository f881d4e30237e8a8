#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace platform {

// Writes a finished document (a report, an export, a case file) to a file so that nothing is
// lost: only a regular file is ever written or replaced; the document goes to a temporary file
// in the same folder (its name from the system's random source), its size is reserved first,
// every write is checked, the file is flushed to the disk and then renamed over the old one in
// one step. A failure, or an interrupt (SIGINT, SIGTERM, SIGHUP) while writing, leaves the old
// file as it was and no temporary file behind; the file-size limit (SIGXFSZ) is a failure with
// a message, not the end of the program.
//
// - A new file gets 0666 minus the umask; a replaced file keeps its mode (and, where
//   permitted, its owner).
// - A symbolic link is followed, as the kernel follows it: its final target is written and
//   the link stays. A link in a sticky folder that everyone may write (/tmp) is refused when
//   it belongs to neither the user nor the folder's owner, as fs.protected_symlinks does but
//   whatever it is set to: another user may have planted it there.
// - The path is walked once, through descriptors: the file checked is the file written.
// - A file with several hard links is replaced under this name only; its other names
//   keep the previous document (the price of the atomic replacement).
// - Where the folder is not writable but the file is, the document is written into the file
//   in place: the bytes it overwrites are kept, the new size is reserved first, and a write
//   that fails all the same puts the old bytes back; an interrupt waits until the file is
//   finished. A file that cannot be read (so its bytes cannot be kept) is refused instead.
//   Only a power cut or SIGKILL half-way can leave such a file partly written.
//
// Writes from several threads are taken one at a time.
class SafeFile
{
public:
    // Returns true when the whole document is on the disk under `path`; otherwise false
    // and, in `error`, a one-line Dutch message that names the file. The second form takes
    // bytes the caller keeps (a case file's text, an autosave) without copying them.
    static bool write(const QString &path, const QByteArray &contents, QString *error = nullptr);
    static bool write(const QString &path, const char *data, qsizetype size, QString *error = nullptr);

    // Whether `path` may be written at all (it is a regular file, also behind links, or
    // does not exist yet, and no link on the way is someone else's in a shared folder), so
    // that a program can refuse before it composes a document.
    static bool mayWrite(const QString &path, QString *error = nullptr);

    // The system call that writes the bytes, replaceable so that tests can provoke a
    // short write or an interrupt in the middle of one. Returns the previous one.
    using WriteCall = ssize_t (*)(int fd, const void *data, size_t size);
    static WriteCall setWriteCall(WriteCall call);
};

} // namespace platform
