#include "shell/files.h"

#include <QFile>
#include <QRegularExpression>
#include <atomic>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {

namespace {

// A file larger than this is not rewritten in place: its old bytes are kept in memory meanwhile.
constexpr off_t kMaxInPlace = 16 << 20;
// As the kernel, a chain of more links than this is taken for a loop.
constexpr int kMaxLinks = 40;

// Writes every byte at the fd's position (offset < 0) or from `offset`, through short writes and
// interruptions. Returns 0 or errno.
int writeAll(int fd, const char* data, qint64 size, off_t offset = -1)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = offset < 0 ? ::write(fd, data + done, static_cast<size_t>(size - done))
                                     : ::pwrite(fd, data + done, static_cast<size_t>(size - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO; // a disk that takes nothing and says nothing
        done += n;
    }
    return 0;
}

// Reads a regular file's whole content from offset 0. Returns 0 or errno.
int readAllAt(int fd, QByteArray& out)
{
    out.clear();
    char buf[64 * 1024];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buf, sizeof buf, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        out.append(buf, n);
        at += n;
    }
}

int syncAndTruncate(int fd, qint64 size)
{
    if (::ftruncate(fd, size) != 0)
        return errno;
    return ::fsync(fd) == 0 ? 0 : errno;
}

// The rewrite of a file in a folder where no file may be created. The old bytes are read first
// and put back if any step of the rewrite fails.
WriteResult rewriteInPlace(const QByteArray& target, const QByteArray& data, const struct stat& st)
{
    WriteResult r;
    r.existed = true;
    if (st.st_size > kMaxInPlace) {
        r.error = EFBIG;
        return r;
    }
    const int fd = ::open(target.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        r.error = errno;
        return r;
    }
    QByteArray old;
    r.error = readAllAt(fd, old);
    if (r.error != 0) {
        ::close(fd); // nothing changed: without the old bytes the file is not touched
        return r;
    }
    r.error = writeAll(fd, data.constData(), data.size(), 0);
    if (r.error == 0)
        r.error = syncAndTruncate(fd, data.size());
    if (r.error == 0) {
        if (::close(fd) != 0 && errno != EINTR) {
            r.error = errno; // synced, so the new bytes are most likely there
            r.left = LeftOnDisk::New;
        }
        return r;
    }
    int restored = writeAll(fd, old.constData(), old.size(), 0);
    if (restored == 0)
        restored = syncAndTruncate(fd, old.size());
    if (restored != 0)
        r.left = LeftOnDisk::Damaged;
    ::close(fd);
    return r;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

} // namespace

WriteResult writeFileWhole(const QString& path, const QByteArray& data)
{
    WriteResult r;
    r.error = 0; // a write is made: every step that fails below says why
    QByteArray target = QFile::encodeName(path);
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')) || target.contains('\0')) {
        r.error = EINVAL;
        return r;
    }
    struct stat st {};
    // A link is followed to the file it leads to, which is written in its own folder; the link stays.
    for (int hops = 0; ::lstat(target.constData(), &st) == 0 && S_ISLNK(st.st_mode); ++hops) {
        QByteArray to(st.st_size > 0 ? st.st_size + 1 : PATH_MAX, '\0');
        const ssize_t n = ::readlink(target.constData(), to.data(), static_cast<size_t>(to.size()));
        if (hops == kMaxLinks || n < 0 || n >= to.size()) {
            r.error = n < 0 ? errno : ELOOP; // a link that changed while it was read is taken as a loop
            return r;
        }
        to.truncate(n);
        target = to.startsWith('/') ? to : folderOf(target) + '/' + to;
        r.through = QFile::decodeName(target);
    }
    if (::stat(target.constData(), &st) != 0) {
        if (errno != ENOENT) {
            r.error = errno; // ENOTDIR: a folder on the way became a file; EACCES: it may not be entered
            return r;
        }
    } else if (S_ISDIR(st.st_mode)) {
        r.error = EISDIR;
        return r;
    } else if (!S_ISREG(st.st_mode)) {
        r.error = EINVAL;
        return r;
    } else {
        r.existed = true;
    }
    if (r.existed && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) {
        r.error = errno;
        return r;
    }

    // The temporary file: hidden, beside the target, named so that no two writers meet.
    static std::atomic<unsigned> counter{0};
    const QByteArray folder = folderOf(target);
    const QByteArray base = target.mid(target.lastIndexOf('/') + 1).left(200);
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder + "/." + base + ".tmp-" + QByteArray::number(::getpid()) + '-' + QByteArray::number(counter++);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        if ((errno == EACCES || errno == EPERM) && r.existed)
            return rewriteInPlace(target, data, st);
        r.error = errno;
        return r;
    }
    if (r.existed) {
        // The new file keeps the old one's permissions and, where allowed, its owner and group.
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Only the owner may change, and that is this user already.
        }
        if (::fchmod(fd, st.st_mode & 07777) != 0) {
            // The umask's permissions stay; the content is what matters.
        }
    }
    int error = writeAll(fd, data.constData(), data.size());
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error == 0 && ::rename(temp.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.constData());
        r.error = error;
        return r;
    }
    // The rename reaches the disk with the folder. A folder that cannot be opened for reading, or
    // a file system that does not sync folders (EINVAL), has nothing more to confirm.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        if (::fsync(dir) != 0 && errno != EINVAL) {
            r.error = errno;
            r.left = LeftOnDisk::New;
        }
        ::close(dir);
    }
    return r;
}

namespace {

// The name of the program that runs as `pid`: empty when no process has it, "?" when it may not
// be looked at (another user's, or no /proc).
QByteArray programOf(pid_t pid)
{
    if (::kill(pid, 0) != 0 && errno == ESRCH)
        return {};
    const QByteArray link = "/proc/" + QByteArray::number(pid) + "/exe";
    QByteArray exe(PATH_MAX, '\0');
    const ssize_t n = ::readlink(link.constData(), exe.data(), static_cast<size_t>(exe.size()));
    if (n < 0)
        return errno == ENOENT ? QByteArray() : QByteArrayLiteral("?");
    exe.truncate(n);
    if (exe.endsWith(" (deleted)")) // a program rebuilt while it runs
        exe.chop(10);
    return exe.mid(exe.lastIndexOf('/') + 1);
}

} // namespace

void removeStaleTemporaries(const QString& folder, const std::function<bool(const QString& name)>& ours)
{
    // The writer's own names: the pid and its counter in decimal, without leading zeros.
    static const QRegularExpression temporary(QStringLiteral("^\\.(.+)\\.tmp-([1-9][0-9]{0,9})-(0|[1-9][0-9]{0,9})$"));
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return;
    const pid_t self = ::getpid();
    const QByteArray game = programOf(self);
    while (const dirent* entry = ::readdir(dir)) {
        const QRegularExpressionMatch match = temporary.match(QFile::decodeName(entry->d_name));
        if (!match.hasMatch() || !ours(match.captured(1)))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        const qint64 pid = match.captured(2).toLongLong();
        if (pid > std::numeric_limits<pid_t>::max())
            continue;
        if (pid != self) {
            const QByteArray running = programOf(static_cast<pid_t>(pid));
            if (running == game || running == "?")
                continue; // a copy of the game that may be writing it now
        }
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

ReadFile::ReadFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (path.isEmpty() || name.contains('\0')) {
        m_error = ENOENT;
        return;
    }
    // O_NONBLOCK: opening a pipe with no writer would wait; it is refused below anyway.
    m_fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        m_error = errno;
    else if (S_ISDIR(st.st_mode))
        m_error = EISDIR;
    else if (!S_ISREG(st.st_mode))
        m_error = EINVAL;
    if (m_error != 0) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_size = st.st_size;
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    QIODevice::open(QIODevice::ReadOnly);
}

ReadFile::~ReadFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool ReadFile::missing() const
{
    return m_error == ENOENT || m_error == ENOTDIR;
}

qint64 ReadFile::readData(char* data, qint64 maxSize)
{
    if (m_fd < 0 || m_error != 0)
        return -1;
    for (;;) {
        const ssize_t n = ::read(m_fd, data, static_cast<size_t>(maxSize));
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            m_error = errno;
            return -1;
        }
    }
}

bool ReadResult::missing() const
{
    return error == ENOENT || error == ENOTDIR;
}

ReadResult readFileHead(const QString& path, qint64 maxBytes)
{
    ReadFile in(path);
    ReadResult r;
    if (in.error() != 0) {
        r.error = in.error();
        return r;
    }
    r.data = in.read(std::min(maxBytes, in.sizeAtOpen() + 1));
    while (in.error() == 0 && r.data.size() < maxBytes) {
        const QByteArray more = in.read(std::min<qint64>(maxBytes - r.data.size(), 64 * 1024));
        if (more.isEmpty())
            break;
        r.data += more;
    }
    r.error = in.error();
    return r;
}

QString joinPath(const QString& folder, const QString& separator, const QString& name)
{
    QString sep = separator;
    sep.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder + sep + name;
}

} // namespace shell
