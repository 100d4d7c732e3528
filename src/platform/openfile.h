#pragma once

#include <cerrno>
#include <fcntl.h>
#include <string>
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
    ~OpenFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    int close()
    {
        const int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

private:
    int fd_;
};

// The runtime error of the system call that failed last.
inline RuntimeError lastError()
{
    return runtimeErrorFromErrno(errno);
}

}  // namespace zondari
