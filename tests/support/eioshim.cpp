// A disk that fails: loaded with LD_PRELOAD, it makes every read of one
// chosen file or folder fail with EIO, as a scratched CD or a dying disk
// does, while everything else reads as usual. The path is taken from
// ZONDARI_EIO_PATH at each call, so a test may set it after start; without
// it the library does nothing.
//
// What it fails: read(), pread() and readv() on a descriptor of the path;
// readdir() on a folder of the path; a look at the path's own record
// through fstatat(); and reads from a stdio stream opened on it (glibc's
// stdio reads through internal calls a preloaded read() never sees, so
// fopen() hands out a stream whose every read fails instead).
//
// Two more things a test run as root cannot have otherwise: the folder
// named by ZONDARI_EACCES_PATH cannot be opened (EACCES), as a folder
// without read permission for an ordinary user; and with
// ZONDARI_UNTYPED_DIRS set, readdir() tells no entry's type, as a CD's
// ISO 9660 file system does, so that each must be looked at.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include "support/preloaded.h"

namespace {

// The chosen path, resolved, or false when none is chosen (or it is gone).
bool chosen(char (&out)[PATH_MAX], const char* variable = "ZONDARI_EIO_PATH")
{
    const char* env = std::getenv(variable);
    return env && *env && ::realpath(env, out) != nullptr;
}

// The look-ups below leave errno as they found it: a caller that set it to
// 0 before readdir() tells the end of a folder from a failure by it.
class KeptErrno {
public:
    KeptErrno()
        : saved_(errno)
    {
    }
    ~KeptErrno() { errno = saved_; }

private:
    int saved_;
};

bool isChosenPath(const char* path, const char* variable = "ZONDARI_EIO_PATH")
{
    const KeptErrno kept;
    char want[PATH_MAX], have[PATH_MAX];
    return path && chosen(want, variable) && ::realpath(path, have) && std::strcmp(want, have) == 0;
}

bool isChosenFd(int fd)
{
    const KeptErrno kept;
    return zondari::test::preloaded::isOpenOn(fd, "ZONDARI_EIO_PATH");
}

using zondari::test::preloaded::next;

// Whether `name` in the folder `dirfd` is the chosen path itself (not
// followed when it is a link).
bool isChosenAt(int dirfd, const char* name)
{
    const KeptErrno kept;
    char want[PATH_MAX];
    if (!name || !chosen(want))
        return false;
    std::string path = name;
    if (name[0] != '/') {
        char folder[PATH_MAX];
        char link[64];
        if (dirfd == AT_FDCWD)
            std::snprintf(link, sizeof link, "/proc/self/cwd");
        else
            std::snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
        const ssize_t n = ::readlink(link, folder, sizeof folder - 1);
        if (n <= 0)
            return false;
        folder[n] = '\0';
        path = std::string(folder) + "/" + name;
    }
    return path == want;
}

ssize_t failingRead(void*, char*, size_t)
{
    errno = EIO;
    return -1;
}

int seekAnywhere(void*, off64_t* position, int)
{
    *position = 0;
    return 0;
}

FILE* failingStream(const char* mode)
{
    const cookie_io_functions_t io{failingRead, nullptr, seekAnywhere, nullptr};
    return ::fopencookie(nullptr, mode, io);
}

// The entry as a file system that does not tell types gives it.
template <class Entry> Entry* untyped(Entry* e)
{
    if (e && std::getenv("ZONDARI_UNTYPED_DIRS"))
        e->d_type = DT_UNKNOWN;
    return e;
}

bool forReading(const char* mode)
{
    return mode && mode[0] == 'r' && !std::strchr(mode, '+');
}

} // namespace

extern "C" {

ssize_t read(int fd, void* buf, size_t count)
{
    static const auto real = next<ssize_t (*)(int, void*, size_t)>("read");
    if (isChosenFd(fd)) {
        errno = EIO;
        return -1;
    }
    return real(fd, buf, count);
}

ssize_t pread(int fd, void* buf, size_t count, off_t offset)
{
    static const auto real = next<ssize_t (*)(int, void*, size_t, off_t)>("pread");
    if (isChosenFd(fd)) {
        errno = EIO;
        return -1;
    }
    return real(fd, buf, count, offset);
}

ssize_t pread64(int fd, void* buf, size_t count, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, void*, size_t, off64_t)>("pread64");
    if (isChosenFd(fd)) {
        errno = EIO;
        return -1;
    }
    return real(fd, buf, count, offset);
}

ssize_t readv(int fd, const struct iovec* iov, int count)
{
    static const auto real = next<ssize_t (*)(int, const struct iovec*, int)>("readv");
    if (isChosenFd(fd)) {
        errno = EIO;
        return -1;
    }
    return real(fd, iov, count);
}

struct dirent* readdir(DIR* dir)
{
    static const auto real = next<struct dirent* (*)(DIR*)>("readdir");
    if (isChosenFd(::dirfd(dir))) {
        errno = EIO;
        return nullptr;
    }
    return untyped(real(dir));
}

struct dirent64* readdir64(DIR* dir)
{
    static const auto real = next<struct dirent64* (*)(DIR*)>("readdir64");
    if (isChosenFd(::dirfd(dir))) {
        errno = EIO;
        return nullptr;
    }
    return untyped(real(dir));
}

DIR* opendir(const char* path)
{
    static const auto real = next<DIR* (*)(const char*)>("opendir");
    if (isChosenPath(path, "ZONDARI_EACCES_PATH")) {
        errno = EACCES;
        return nullptr;
    }
    return real(path);
}

int fstatat(int dirfd, const char* name, struct stat* st, int flags)
{
    static const auto real = next<int (*)(int, const char*, struct stat*, int)>("fstatat");
    if (isChosenAt(dirfd, name)) {
        errno = EIO;
        return -1;
    }
    return real(dirfd, name, st, flags);
}

int fstatat64(int dirfd, const char* name, struct stat64* st, int flags)
{
    static const auto real = next<int (*)(int, const char*, struct stat64*, int)>("fstatat64");
    if (isChosenAt(dirfd, name)) {
        errno = EIO;
        return -1;
    }
    return real(dirfd, name, st, flags);
}

FILE* fopen(const char* path, const char* mode)
{
    static const auto real = next<FILE* (*)(const char*, const char*)>("fopen");
    if (forReading(mode) && isChosenPath(path))
        return failingStream(mode);
    return real(path, mode);
}

FILE* fopen64(const char* path, const char* mode)
{
    static const auto real = next<FILE* (*)(const char*, const char*)>("fopen64");
    if (forReading(mode) && isChosenPath(path))
        return failingStream(mode);
    return real(path, mode);
}

} // extern "C"
