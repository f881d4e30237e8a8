#pragma once

#include <QByteArray>

#include <sys/stat.h>

namespace platform {

// The file that writing a path lands in, found as the kernel walks a path but one name at
// a time through descriptors: what is checked is what is then written, through the folder's
// descriptor, whatever is renamed meanwhile. Symbolic links are followed, also in the
// folders above, except one the kernel's fs.protected_symlinks would refuse, whatever that
// setting says: a link in a sticky, world-writable folder (such as /tmp) that belongs to
// neither the writer nor the folder's owner. Another user could point such a link at any
// file the writer may write.
class FileTarget
{
public:
    enum class Outcome { Found, Failed, ForeignLink };

    FileTarget() = default;
    ~FileTarget();
    FileTarget(const FileTarget &) = delete;
    FileTarget &operator=(const FileTarget &) = delete;

    // Walks `path`. Found: folder() and name() say where the file is (or is to be made);
    // Failed: error() holds the errno; ForeignLink: foreignLink() names the refused link.
    Outcome resolve(const QByteArray &path);

    int folder() const { return m_folder; } // an O_PATH descriptor, owned by this object
    const QByteArray &name() const { return m_name; }
    bool exists() const { return m_exists; }
    const struct stat &status() const { return m_status; } // of what is there, not following a link
    int error() const { return m_error; }
    const QByteArray &foreignLink() const { return m_foreignLink; }

private:
    Outcome fail(int error);
    void enter(int folder);

    int m_folder = -1;
    QByteArray m_name;
    bool m_exists = false;
    struct stat m_status
    { };
    int m_error = 0;
    QByteArray m_foreignLink;
};

} // namespace platform
