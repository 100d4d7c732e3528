#include "platform/mp3file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/openfile.h"

namespace zondari {
namespace {

// The length of a file opened as a normal file.
Result<std::uint64_t> regularLength(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return lastError();
    return static_cast<std::uint64_t>(st.st_size);
}

std::string readAt(int fd, std::uint64_t offset, std::size_t count)
{
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, bytes.data() + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

bool writeAt(int fd, std::string_view bytes, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

namespace mp3file {

Result<mp3::Mp3Bytes> readMp3Bytes(const std::string& path)
{
    OpenFile f(path, O_RDONLY, OpenFile::RegularOnly{});
    if (!f.ok())
        return lastError();
    const auto length = regularLength(f.fd());
    if (!length)
        return length.error();
    return mp3::collectMp3Bytes(*length, [&f](std::uint64_t offset, std::size_t count) {
        return readAt(f.fd(), offset, count);
    });
}

}  // namespace mp3file

bool ReadTag(const std::string& fileName, TagRecord& tag)
{
    if (fileName.empty())
        return false;
    OpenFile f(fileName, O_RDONLY, OpenFile::RegularOnly{});
    if (!f.ok())
        return false;
    const auto length = regularLength(f.fd());
    if (!length || *length < mp3file::kShortestTagged)
        return false;
    const auto record = id3v1::decode(readAt(f.fd(), *length - kTagSize, kTagSize));
    if (!record)
        return false;
    tag = *record;
    return true;
}

Result<TagWrite> WriteTag(const std::string& fileName, const TagRecord& tag)
{
    OpenFile f(fileName, O_RDWR, OpenFile::RegularOnly{});
    if (!f.ok())
        return lastError();
    const auto length = regularLength(f.fd());
    if (!length)
        return length.error();
    if (*length < mp3file::kShortestTagged)
        return TagWrite::TooShort;

    const std::uint64_t q = *length - kTagSize;
    const std::string record = id3v1::encode(tag);
    if (readAt(f.fd(), q, 3) == "TAG") {
        // The marker stays; the fields follow it.
        if (!writeAt(f.fd(), std::string_view(record).substr(3), q + 3))
            return lastError();
    } else if (!writeAt(f.fd(), record, *length)) {
        const RuntimeError error = lastError();
        // A half-appended record would be taken for audio: take it back.
        (void)::ftruncate(f.fd(), static_cast<off_t>(*length));
        return error;
    }
    if (::fsync(f.fd()) != 0 || f.close() != 0)
        return lastError();
    return TagWrite::Written;
}

}  // namespace zondari
