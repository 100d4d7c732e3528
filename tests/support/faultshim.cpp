// Faults of the disk and of other programs, loaded with LD_PRELOAD into a
// child of a test. Each is chosen by the environment, read at each call so
// that a test may set it after start; without it the library does nothing.
//
//   ZONDARI_EIO_PATH     every read of this file or folder fails with EIO, as
//                        a scratched CD or a dying disk does (with
//                        ZONDARI_EIO_FROM, only a read of a file that reaches
//                        that offset: its last sectors are damaged): read(), pread(),
//                        readv() on a descriptor of it, readdir() on it, a
//                        look at its own record through fstatat(), and reads
//                        from a stdio stream opened on it (glibc's stdio reads
//                        through internal calls a preloaded read() never sees,
//                        so fopen() hands out a stream whose reads all fail)
//   ZONDARI_EACCES_PATH  this folder cannot be opened (EACCES), as one without
//                        read permission for an ordinary user (tests run as
//                        root, who reads every folder)
//   ZONDARI_UNTYPED_DIRS readdir() tells no entry's type, as a CD's ISO 9660
//                        file system does, so that each must be looked at
//   ZONDARI_OTHER_PATH   another program writes this file at the first
//                        pwrite() to it, just before that write goes through,
//                        so a test meets the race between a write's check and
//                        the write every time: it writes the bytes of the file
//                        ZONDARI_OTHER_BYTES, as ZONDARI_OTHER_HOW says:
//                        "posto" over the file in place, "tronca" cut to
//                        nothing first, "rinomina" beside it and renamed over it

#include <atomic>
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
#include <sys/uio.h>
#include <unistd.h>

namespace {

// The function of that name that the library stands in front of.
template <class F> F next(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

std::string env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Whether `path` resolves to the path the environment variable names. errno
// is left as it was found: a caller that set it to 0 before readdir() tells
// the end of a folder from a failure by it.
bool isChosenPath(const std::string& path, const char* variable = "ZONDARI_EIO_PATH")
{
    const int saved = errno;
    const std::string named = env(variable);
    char want[PATH_MAX], have[PATH_MAX];
    const bool same = !named.empty() && !path.empty() && ::realpath(named.c_str(), want)
        && ::realpath(path.c_str(), have) && std::strcmp(want, have) == 0;
    errno = saved;
    return same;
}

// Where a descriptor, or a name in the folder `fd`, leads.
std::string pathOf(int fd, const char* name = nullptr)
{
    if (name && name[0] == '/')
        return name;
    const std::string link = fd == AT_FDCWD ? "/proc/self/cwd" : "/proc/self/fd/" + std::to_string(fd);
    return link + (name ? "/" + std::string(name) : "");
}

bool isChosen(int fd, const char* variable = "ZONDARI_EIO_PATH")
{
    return fd >= 0 && isChosenPath(pathOf(fd), variable);
}

bool damaged(int fd, long long offset, size_t count)
{
    const std::string from = env("ZONDARI_EIO_FROM");
    return isChosen(fd) && (from.empty() || offset + static_cast<long long>(count) > std::stoll(from));
}

template <class R> R failed(R value)
{
    errno = EIO;
    return value;
}

FILE* opened(FILE* (*real)(const char*, const char*), const char* path, const char* mode)
{
    const bool reading = mode && mode[0] == 'r' && !std::strchr(mode, '+');
    const auto failingRead = [](void*, char*, size_t) { return failed<ssize_t>(-1); };
    const auto seekAnywhere = [](void*, off64_t* position, int) {
        *position = 0;
        return 0;
    };
    return reading && path && isChosenPath(path)
        ? ::fopencookie(nullptr, mode, {failingRead, nullptr, seekAnywhere, nullptr})
        : real(path, mode);
}

template <class Entry> Entry* listed(Entry* (*real)(DIR*), DIR* dir)
{
    if (isChosen(::dirfd(dir)))
        return failed<Entry*>(nullptr);
    Entry* e = real(dir);
    if (e && std::getenv("ZONDARI_UNTYPED_DIRS"))
        e->d_type = DT_UNKNOWN;
    return e;
}

void writeAll(const std::string& path, int flags, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    for (ssize_t done = 0, n = 0; fd >= 0 && done < ssize_t(bytes.size()); done += n)
        if ((n = ::write(fd, bytes.data() + done, bytes.size() - std::size_t(done))) <= 0)
            break;
    if (fd >= 0)
        ::close(fd);
}

// The other program's write, once, at the first write to its file.
void otherWriter(int fd)
{
    static std::atomic<bool> wrote{false};
    if (wrote || !isChosen(fd, "ZONDARI_OTHER_PATH") || wrote.exchange(true))
        return;
    const std::string path = env("ZONDARI_OTHER_PATH"), how = env("ZONDARI_OTHER_HOW");
    std::string bytes;
    if (FILE* from = std::fopen(env("ZONDARI_OTHER_BYTES").c_str(), "rb")) {
        char buf[65536];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, from)) > 0;)
            bytes.append(buf, n);
        std::fclose(from);
    }
    if (how == "posto" || how == "tronca")
        writeAll(path, O_WRONLY | (how == "tronca" ? O_TRUNC : 0), bytes);
    if (how == "rinomina") {
        writeAll(path + ".altro", O_WRONLY | O_CREAT | O_TRUNC, bytes);
        ::rename((path + ".altro").c_str(), path.c_str());
    }
}

} // namespace

// Each read of a chosen descriptor fails; the others go to the real call.
#define ZONDARI_FAILING_READ(name, Offset)                                                                             \
    ssize_t name(int fd, void* buf, size_t count, Offset offset)                                                       \
    {                                                                                                                  \
        static const auto real = next<ssize_t (*)(int, void*, size_t, Offset)>(#name);                                 \
        return damaged(fd, offset, count) ? failed<ssize_t>(-1) : real(fd, buf, count, offset);                        \
    }

extern "C" {

ssize_t read(int fd, void* buf, size_t count)
{
    static const auto real = next<ssize_t (*)(int, void*, size_t)>("read");
    return damaged(fd, ::lseek(fd, 0, SEEK_CUR), count) ? failed<ssize_t>(-1) : real(fd, buf, count);
}

ZONDARI_FAILING_READ(pread, off_t)
ZONDARI_FAILING_READ(pread64, off64_t)

ssize_t readv(int fd, const struct iovec* iov, int count)
{
    static const auto real = next<ssize_t (*)(int, const struct iovec*, int)>("readv");
    return isChosen(fd) ? failed<ssize_t>(-1) : real(fd, iov, count);
}

struct dirent* readdir(DIR* dir)
{
    static const auto real = next<struct dirent* (*)(DIR*)>("readdir");
    return listed(real, dir);
}

struct dirent64* readdir64(DIR* dir)
{
    static const auto real = next<struct dirent64* (*)(DIR*)>("readdir64");
    return listed(real, dir);
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
    return isChosenPath(pathOf(dirfd, name)) ? failed(-1) : real(dirfd, name, st, flags);
}

int fstatat64(int dirfd, const char* name, struct stat64* st, int flags)
{
    static const auto real = next<int (*)(int, const char*, struct stat64*, int)>("fstatat64");
    return isChosenPath(pathOf(dirfd, name)) ? failed(-1) : real(dirfd, name, st, flags);
}

FILE* fopen(const char* path, const char* mode)
{
    static const auto real = next<FILE* (*)(const char*, const char*)>("fopen");
    return opened(real, path, mode);
}

FILE* fopen64(const char* path, const char* mode)
{
    static const auto real = next<FILE* (*)(const char*, const char*)>("fopen64");
    return opened(real, path, mode);
}

ssize_t pwrite(int fd, const void* buf, size_t count, off_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    otherWriter(fd);
    return real(fd, buf, count, offset);
}

ssize_t pwrite64(int fd, const void* buf, size_t count, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    otherWriter(fd);
    return real(fd, buf, count, offset);
}

} // extern "C"
