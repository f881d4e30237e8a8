#include "file_target.h"

#include <QList>

#include <cerrno>
#include <climits>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

// As many links as the kernel follows in one path.
constexpr int kMostLinks = 40;

// Puts the names of `path` on the stack so that its first name is taken next.
void pushNames(std::vector<QByteArray> &pending, const QByteArray &path)
{
    const QList<QByteArray> names = path.split('/');
    for (auto name = names.crbegin(); name != names.crend(); ++name) {
        if (!name->isEmpty())
            pending.push_back(*name);
    }
}

// The path walked so far, for the message that names a refused link.
QByteArray joined(const QByteArray &walked, const QByteArray &name)
{
    if (walked.isEmpty())
        return name;
    return walked.endsWith('/') ? walked + name : walked + '/' + name;
}

QByteArray parentOf(const QByteArray &walked)
{
    const qsizetype slash = walked.lastIndexOf('/');
    if (slash < 0)
        return {};
    return slash == 0 ? QByteArrayLiteral("/") : walked.left(slash);
}

// The kernel's rule: in a sticky folder that everyone may write, only a link of the
// follower's own or of the folder's owner is followed.
bool mayFollow(const struct stat &link, const struct stat &folder)
{
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// The text of the link open as `fd` (O_PATH), so that the link read is the link checked.
int readLink(int fd, QByteArray &text)
{
    char buffer[PATH_MAX];
    const ssize_t size = ::readlinkat(fd, "", buffer, sizeof buffer);
    if (size < 0)
        return errno;
    if (size == ssize_t(sizeof buffer))
        return ENAMETOOLONG;
    if (size == 0)
        return ENOENT;
    text = QByteArray(buffer, size);
    return 0;
}

} // namespace

FileTarget::~FileTarget()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

FileTarget::Outcome FileTarget::fail(int error)
{
    m_error = error;
    return Outcome::Failed;
}

void FileTarget::enter(int folder)
{
    if (m_folder >= 0)
        ::close(m_folder);
    m_folder = folder;
}

FileTarget::Outcome FileTarget::resolve(const QByteArray &path)
{
    if (path.isEmpty())
        return fail(ENOENT);
    // "name/" must be a folder: an existing file is refused as the kernel does, a new one cannot be one.
    const bool namesFolder = path.endsWith('/');
    const bool absolute = path.startsWith('/');
    std::vector<QByteArray> pending;
    pushNames(pending, path);
    QByteArray walked = absolute ? QByteArrayLiteral("/") : QByteArray();
    enter(::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (m_folder < 0)
        return fail(errno);

    int links = 0;
    while (!pending.empty()) {
        const QByteArray name = pending.back();
        pending.pop_back();
        const bool last = pending.empty();
        const int fd = ::openat(m_folder, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            const int error = errno;
            if (error != ENOENT || !last)
                return fail(error);
            if (namesFolder)
                return fail(EISDIR);
            m_name = name;
            m_exists = false;
            return Outcome::Found;
        }
        struct stat status;
        if (::fstat(fd, &status) != 0) {
            const int error = errno;
            ::close(fd);
            return fail(error);
        }
        walked = joined(walked, name);

        if (S_ISLNK(status.st_mode)) {
            struct stat folder;
            int error = ::fstat(m_folder, &folder) == 0 ? 0 : errno;
            if (!error && !mayFollow(status, folder)) {
                ::close(fd);
                m_foreignLink = walked;
                return Outcome::ForeignLink;
            }
            QByteArray text;
            if (!error)
                error = ++links > kMostLinks ? ELOOP : readLink(fd, text);
            ::close(fd);
            if (error)
                return fail(error);
            walked = parentOf(walked);
            if (text.startsWith('/')) {
                walked = QByteArrayLiteral("/");
                enter(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
                if (m_folder < 0)
                    return fail(errno);
            }
            pushNames(pending, text);
            continue;
        }
        if (last) {
            ::close(fd);
            if (namesFolder && !S_ISDIR(status.st_mode))
                return fail(ENOTDIR);
            m_name = name;
            m_exists = true;
            m_status = status;
            return Outcome::Found;
        }
        if (!S_ISDIR(status.st_mode)) {
            ::close(fd);
            return fail(ENOTDIR);
        }
        enter(fd);
    }
    // The path (or the last link) names a folder itself, such as "/" or "..".
    if (::fstat(m_folder, &m_status) != 0)
        return fail(errno);
    m_name = QByteArrayLiteral(".");
    m_exists = true;
    return Outcome::Found;
}

} // namespace platform
