// A disk that fails on request, from below the program: preloaded (LD_PRELOAD) into the game or a
// test program, it makes the C library's file calls on chosen files fail with a chosen errno.
//
// The faults come from the environment variable PLINKAT_FAULTS when the library loads, or from
// plinkat_faults_set() at any time (tests find it with dlsym). A fault list is
//     <path part>|<call>=<errno>[*<count>],...
// e.g. "config.cfg|write=EIO" or "/play/|fsync=EDQUOT*1,rename=EIO". A call fails when its file's
// path (read back from /proc/self/fd) or, for a rename, either name contains <path part>; with a
// count, only that many times. Calls: read (read, pread), write (write, pwrite, writev), fsync
// (fsync, fdatasync on a file), dirsync (fsync on a folder), close, rename, truncate (ftruncate).
// Nothing else is touched, so the X connection and the terminal go on as usual.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

enum Call { kRead, kWrite, kFsync, kDirsync, kClose, kRename, kTruncate, kCalls };
const char* const kCallNames[kCalls] = {"read", "write", "fsync", "dirsync", "close", "rename", "truncate"};

struct Fault {
    int error = 0;
    std::atomic<int> left{-1}; // failures still to come; -1 for every call
};

char g_part[512];
Fault g_faults[kCalls];

int errnoNamed(const char* name, std::size_t len)
{
    static const struct {
        const char* name;
        int value;
    } known[] = {{"EIO", EIO}, {"ENOSPC", ENOSPC}, {"EDQUOT", EDQUOT}, {"EROFS", EROFS},
                 {"EACCES", EACCES}, {"EPERM", EPERM}, {"ENOENT", ENOENT}, {"EISDIR", EISDIR}};
    for (const auto& k : known)
        if (std::strlen(k.name) == len && std::strncmp(k.name, name, len) == 0)
            return k.value;
    return 0;
}

void configure(const char* faults)
{
    for (Fault& f : g_faults) {
        f.error = 0;
        f.left = -1;
    }
    g_part[0] = '\0';
    if (!faults)
        return;
    const char* bar = std::strchr(faults, '|');
    if (!bar || static_cast<std::size_t>(bar - faults) >= sizeof g_part)
        return;
    std::memcpy(g_part, faults, static_cast<std::size_t>(bar - faults));
    g_part[bar - faults] = '\0';
    for (const char* item = bar + 1; *item;) {
        const char* end = std::strchr(item, ',');
        if (!end)
            end = item + std::strlen(item);
        const char* eq = static_cast<const char*>(std::memchr(item, '=', static_cast<std::size_t>(end - item)));
        if (eq) {
            const char* star = static_cast<const char*>(std::memchr(eq, '*', static_cast<std::size_t>(end - eq)));
            const char* errEnd = star ? star : end;
            for (int c = 0; c < kCalls; ++c) {
                if (std::strlen(kCallNames[c]) == static_cast<std::size_t>(eq - item)
                    && std::strncmp(kCallNames[c], item, static_cast<std::size_t>(eq - item)) == 0) {
                    g_faults[c].error = errnoNamed(eq + 1, static_cast<std::size_t>(errEnd - eq - 1));
                    g_faults[c].left = star ? std::atoi(star + 1) : -1;
                }
            }
        }
        item = *end ? end + 1 : end;
    }
}

__attribute__((constructor)) void loadFromEnvironment()
{
    configure(std::getenv("PLINKAT_FAULTS"));
}

bool nameMatches(const char* name)
{
    return g_part[0] != '\0' && name && std::strstr(name, g_part) != nullptr;
}

bool fdMatches(int fd)
{
    if (g_part[0] == '\0' || fd < 0)
        return false;
    char link[64], target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return false;
    target[n] = '\0';
    return nameMatches(target);
}

// Whether this call fails now; sets errno when it does.
bool fails(Call call, bool matches)
{
    Fault& f = g_faults[call];
    if (f.error == 0 || !matches)
        return false;
    int left = f.left.load();
    while (left != -1) {
        if (left == 0)
            return false;
        if (f.left.compare_exchange_weak(left, left - 1))
            break;
    }
    errno = f.error;
    return true;
}

bool isFolder(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

template <typename F>
F next(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void plinkat_faults_set(const char* faults)
{
    configure(faults);
}

__attribute__((visibility("default"))) ssize_t read(int fd, void* buf, size_t n)
{
    static auto real = next<ssize_t (*)(int, void*, size_t)>("read");
    return fails(kRead, fdMatches(fd)) ? -1 : real(fd, buf, n);
}

__attribute__((visibility("default"))) ssize_t pread(int fd, void* buf, size_t n, off_t at)
{
    static auto real = next<ssize_t (*)(int, void*, size_t, off_t)>("pread");
    return fails(kRead, fdMatches(fd)) ? -1 : real(fd, buf, n, at);
}

__attribute__((visibility("default"))) ssize_t pread64(int fd, void* buf, size_t n, off_t at)
{
    static auto real = next<ssize_t (*)(int, void*, size_t, off_t)>("pread64");
    return fails(kRead, fdMatches(fd)) ? -1 : real(fd, buf, n, at);
}

__attribute__((visibility("default"))) ssize_t write(int fd, const void* buf, size_t n)
{
    static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    return fails(kWrite, fdMatches(fd)) ? -1 : real(fd, buf, n);
}

__attribute__((visibility("default"))) ssize_t pwrite(int fd, const void* buf, size_t n, off_t at)
{
    static auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    return fails(kWrite, fdMatches(fd)) ? -1 : real(fd, buf, n, at);
}

__attribute__((visibility("default"))) ssize_t pwrite64(int fd, const void* buf, size_t n, off_t at)
{
    static auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite64");
    return fails(kWrite, fdMatches(fd)) ? -1 : real(fd, buf, n, at);
}

__attribute__((visibility("default"))) ssize_t writev(int fd, const struct iovec* iov, int count)
{
    static auto real = next<ssize_t (*)(int, const struct iovec*, int)>("writev");
    return fails(kWrite, fdMatches(fd)) ? -1 : real(fd, iov, count);
}

__attribute__((visibility("default"))) int fsync(int fd)
{
    static auto real = next<int (*)(int)>("fsync");
    return fails(isFolder(fd) ? kDirsync : kFsync, fdMatches(fd)) ? -1 : real(fd);
}

__attribute__((visibility("default"))) int fdatasync(int fd)
{
    static auto real = next<int (*)(int)>("fdatasync");
    return fails(kFsync, fdMatches(fd)) ? -1 : real(fd);
}

__attribute__((visibility("default"))) int ftruncate(int fd, off_t size)
{
    static auto real = next<int (*)(int, off_t)>("ftruncate");
    return fails(kTruncate, fdMatches(fd)) ? -1 : real(fd, size);
}

__attribute__((visibility("default"))) int ftruncate64(int fd, off_t size)
{
    static auto real = next<int (*)(int, off_t)>("ftruncate64");
    return fails(kTruncate, fdMatches(fd)) ? -1 : real(fd, size);
}

// A close that reports an error has still closed the file, as the kernel's does.
__attribute__((visibility("default"))) int close(int fd)
{
    static auto real = next<int (*)(int)>("close");
    const bool fail = fails(kClose, fdMatches(fd));
    const int saved = errno;
    const int r = real(fd);
    if (!fail)
        return r;
    errno = saved;
    return -1;
}

__attribute__((visibility("default"))) int rename(const char* from, const char* to)
{
    static auto real = next<int (*)(const char*, const char*)>("rename");
    return fails(kRename, nameMatches(from) || nameMatches(to)) ? -1 : real(from, to);
}

__attribute__((visibility("default"))) int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    static auto real = next<int (*)(int, const char*, int, const char*)>("renameat");
    return fails(kRename, nameMatches(from) || nameMatches(to)) ? -1 : real(fromDir, from, toDir, to);
}

} // extern "C"
