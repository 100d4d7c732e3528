// Another program writing the same file: loaded with LD_PRELOAD, it changes
// one chosen file at the first pwrite() the program makes to it, just before
// that write goes through, as a program that rewrites the file at that very
// moment would. So a test meets the race between a write's check and the
// write every time, not by chance.
//
//   ZONDARI_OTHER_PATH   the file
//   ZONDARI_OTHER_BYTES  a file holding what the other program writes
//   ZONDARI_OTHER_HOW    "posto": written over the file from its start, in
//                        place; "tronca": the file cut to nothing first;
//                        "rinomina": written beside it and renamed over it
//
// Without ZONDARI_OTHER_PATH the library does nothing.

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <unistd.h>

#include "support/preloaded.h"

namespace {

std::atomic<bool> done{false};

std::string readAll(const char* path)
{
    std::string bytes;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    char buf[65536];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0;)
        bytes.append(buf, static_cast<std::size_t>(n));
    if (fd >= 0)
        ::close(fd);
    return bytes;
}

void writeAll(const std::string& path, int flags, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    for (std::size_t written = 0; fd >= 0 && written < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    if (fd >= 0)
        ::close(fd);
}

// The other program's write, once.
void otherWriter(int fd)
{
    if (done || !zondari::test::preloaded::isOpenOn(fd, "ZONDARI_OTHER_PATH") || done.exchange(true))
        return;
    const std::string path = std::getenv("ZONDARI_OTHER_PATH");
    const char* from = std::getenv("ZONDARI_OTHER_BYTES");
    const char* how = std::getenv("ZONDARI_OTHER_HOW");
    const std::string bytes = from ? readAll(from) : std::string();
    const std::string mode = how ? how : "";
    if (mode == "posto") {
        writeAll(path, O_WRONLY, bytes);
    } else if (mode == "tronca") {
        writeAll(path, O_WRONLY | O_TRUNC, bytes);
    } else if (mode == "rinomina") {
        writeAll(path + ".altro", O_WRONLY | O_CREAT | O_TRUNC, bytes);
        ::rename((path + ".altro").c_str(), path.c_str());
    }
}

using zondari::test::preloaded::next;

} // namespace

extern "C" {

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
