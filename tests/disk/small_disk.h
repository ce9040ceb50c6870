#pragma once
// A real small file system for a test: a tmpfs mounted in the test's own mount namespace, which it
// can fill to its last byte or remount read-only. Mounting needs root (CAP_SYS_ADMIN); elsewhere
// the tests that need it skip, saying why.
//
// The test program enters a mount namespace of its own (enterOwnMountNamespace, as it loads, before
// any thread starts), so its mounts are seen only by it and the programs it starts, and vanish with
// it even if it crashes.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

namespace small_disk {

// Why mounting is not possible here, or empty when it is.
inline std::string& whyNot()
{
    static std::string why;
    return why;
}

inline void enterOwnMountNamespace()
{
    if (::geteuid() != 0) {
        whyNot() = "mounting a small file system needs root; not root here";
        return;
    }
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        whyNot() = std::string("this machine allows no mount namespace: ") + std::strerror(errno);
}

class SmallDisk {
public:
    explicit SmallDisk(int kib)
    {
        if (!whyNot().empty())
            return;
        const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0777";
        if (::mount("tmpfs", QFile::encodeName(m_point.path()).constData(), "tmpfs", 0, options.constData()) != 0) {
            m_why = std::string("tmpfs mount refused: ") + std::strerror(errno);
            return;
        }
        m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_point.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool ok() const { return m_mounted; }
    std::string why() const { return whyNot().empty() ? m_why : whyNot(); }
    QString path() const { return m_point.path(); }

    // Fills every free byte with a file of zeros. Returns whether the disk reported itself full.
    bool fill() const
    {
        const QByteArray name = QFile::encodeName(m_point.filePath(QStringLiteral(".filler")));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (fd < 0)
            return false;
        static const char zeros[4096] = {};
        ssize_t n = 0;
        while ((n = ::write(fd, zeros, sizeof zeros)) > 0) {
        }
        const bool full = n < 0 && errno == ENOSPC;
        // The last partial page too.
        while (::write(fd, zeros, 1) > 0) {
        }
        ::close(fd);
        return full;
    }
    bool remountReadOnly() const
    {
        return ::mount(nullptr, QFile::encodeName(m_point.path()).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QTemporaryDir m_point;
    bool m_mounted = false;
    std::string m_why;
};

} // namespace small_disk
