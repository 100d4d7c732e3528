#include "platform/mp3file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/openfile.h"

namespace zondari {
namespace {

// How a file opened as a normal file stands.
Result<FileState> stateOf(int fd)
{
    struct stat st { };
    if (::fstat(fd, &st) != 0)
        return lastError();
    return FileState{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
        static_cast<std::uint64_t>(st.st_size),
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

// Up to `count` bytes at `offset`: fewer at the end of the file. A read
// that fails (a damaged disk: EIO) ends it and leaves its errno in `error`,
// so that what could not be read is never taken for what is not there.
std::string readAt(int fd, std::uint64_t offset, std::size_t count, int& error)
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

} // namespace

namespace mp3file {

Result<mp3::Mp3Bytes> readMp3Bytes(const std::string& path)
{
    OpenFile f(path, O_RDONLY, OpenFile::RegularOnly{});
    if (!f.ok())
        return lastError();
    const auto state = stateOf(f.fd());
    if (!state)
        return state.error();
    int error = 0;
    auto bytes = mp3::collectMp3Bytes(state->size,
        [&f, &error](std::uint64_t offset, std::size_t count) { return readAt(f.fd(), offset, count, error); });
    if (error != 0)
        return runtimeErrorFromErrno(error);
    return bytes;
}

} // namespace mp3file

Result<TagRead> ReadTag(const std::string& fileName)
{
    if (fileName.empty())
        return runtimeError(ErrorCode::BadFileName);
    OpenFile f(fileName, O_RDONLY, OpenFile::RegularOnly{});
    if (!f.ok())
        return lastError();
    const auto state = stateOf(f.fd());
    if (!state)
        return state.error();
    TagRead read{*state, std::nullopt};
    if (state->size < mp3file::kShortestTagged)
        return read;
    int error = 0;
    const std::string last = readAt(f.fd(), state->size - kTagSize, kTagSize, error);
    if (error != 0)
        return runtimeErrorFromErrno(error);
    read.tag = id3v1::decode(last);
    return read;
}

Result<TagWrite> WriteTag(const std::string& fileName, const TagRecord& tag, FileState* known)
{
    OpenFile f(fileName, O_RDWR, OpenFile::RegularOnly{});
    if (!f.ok())
        return lastError();
    const auto state = stateOf(f.fd());
    if (!state)
        return state.error();
    if (known && *state != *known)
        return TagWrite::Changed;
    if (state->size < mp3file::kShortestTagged)
        return TagWrite::TooShort;

    const std::uint64_t length = state->size;
    const std::uint64_t q = length - kTagSize;
    int error = 0;
    const std::string marker = readAt(f.fd(), q, 3, error);
    if (error != 0)
        return runtimeErrorFromErrno(error);
    if (marker.size() != 3)
        return TagWrite::Changed; // cut short this very moment
    const std::string record = id3v1::encode(tag);
    if (marker == "TAG") {
        // The marker stays; the fields follow it.
        if (!writeAt(f.fd(), std::string_view(record).substr(3), q + 3))
            return lastError();
    } else if (!writeAt(f.fd(), record, length)) {
        const RuntimeError failure = lastError();
        // A half-appended record would be taken for audio: take it back.
        (void)::ftruncate(f.fd(), static_cast<off_t>(length));
        return failure;
    }
    if (::fsync(f.fd()) != 0)
        return lastError();
    const auto after = stateOf(f.fd());
    if (f.close() != 0)
        return lastError();
    if (known && after)
        *known = *after;
    return TagWrite::Written;
}

} // namespace zondari
