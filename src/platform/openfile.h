#pragma once

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "core/common/result.h"

namespace zondari {

// A file opened with open(2) (never inherited by programs started later),
// closed on every path out; `close()` reports a failure to finish writing.
class OpenFile {
public:
    OpenFile(const std::string& path, int flags, mode_t mode = 0)
        : fd_(::open(path.c_str(), flags | O_CLOEXEC, mode))
    {
    }

    // Opens `path` only when it is a normal file. A FIFO, a socket or a
    // device that only bears a music file's name must never hold the
    // program in open(2) or read(2): it is opened without waiting, looked
    // at, and closed again. On failure errno says why: EISDIR for a folder,
    // EACCES for any other file that is not a normal one. A caller that
    // only reads may pass O_NONBLOCK and keep it: a normal file's reads
    // never wait for it, and clearing it costs two calls a file.
    struct RegularOnly { };
    OpenFile(const std::string& path, int flags, RegularOnly)
        : fd_(::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK))
    {
        struct stat& st = status_;
        if (fd_ < 0) {
            // A socket cannot be opened at all (ENXIO, which otherwise
            // speaks of a drive without its disc).
            if (errno == ENXIO && ::stat(path.c_str(), &st) == 0 && !S_ISBLK(st.st_mode) && !S_ISCHR(st.st_mode))
                errno = EACCES;
            return;
        }
        int err = 0;
        if (::fstat(fd_, &st) != 0)
            err = errno;
        else if (!S_ISREG(st.st_mode))
            err = S_ISDIR(st.st_mode) ? EISDIR : EACCES;
        else if ((flags & O_NONBLOCK) == 0 && ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK) != 0)
            err = errno;
        if (err != 0) {
            ::close(fd_);
            fd_ = -1;
            errno = err;
        }
    }
    ~OpenFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    // How the file stood when a RegularOnly open looked at it.
    const struct stat& status() const { return status_; }
    int fd() const { return fd_; }
    int close()
    {
        const int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

private:
    int fd_;
    struct stat status_ { };
};

// Up to `count` bytes at `offset`: fewer at the end of the file. A read
// that fails (a damaged disk: EIO) ends it and leaves its errno in `error`,
// so that what could not be read is never taken for what is not there.
inline std::string readAt(int fd, std::uint64_t offset, std::size_t count, int& error)
{
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, bytes.data() + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && error == 0)
            error = errno;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

// The runtime error of the system call that failed last.
inline RuntimeError lastError()
{
    return runtimeErrorFromErrno(errno);
}

} // namespace zondari
