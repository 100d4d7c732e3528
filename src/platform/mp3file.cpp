#include "platform/mp3file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "platform/id3v2file.h"
#include "platform/openfile.h"

namespace zondari {
namespace {

FileState stateFrom(const struct stat& st)
{
    return FileState{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
        static_cast<std::uint64_t>(st.st_size),
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

// How a file opened as a normal file stands now.
Result<FileState> stateOf(int fd)
{
    struct stat st { };
    if (::fstat(fd, &st) != 0)
        return lastError();
    return stateFrom(st);
}

// A read made by the check before a write.
struct KeptRead {
    std::uint64_t offset;
    std::string bytes;
};

// Blocks spread evenly over the bytes before `end`, the last one ending
// there: a program that rewrites the file in place changes some of them,
// and reading them costs the same for a file of any length.
std::vector<std::pair<std::uint64_t, std::size_t>> sampleBlocks(std::uint64_t end)
{
    constexpr std::uint64_t kBlocks = 32, kBlock = 4096;
    const std::uint64_t block = std::min(kBlock, end);
    std::vector<std::pair<std::uint64_t, std::size_t>> blocks;
    for (std::uint64_t i = 0; i < kBlocks; ++i)
        blocks.emplace_back((end - block) / (kBlocks - 1) * i, static_cast<std::size_t>(block));
    return blocks;
}

// Whether the bytes before `end` that the check read are still there.
bool stillAsKept(int fd, const std::vector<KeptRead>& kept, std::uint64_t end, int& error)
{
    for (const KeptRead& k : kept) {
        if (k.offset >= end)
            continue;
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(k.bytes.size(), end - k.offset));
        if (readAt(fd, k.offset, n, error) != std::string_view(k.bytes).substr(0, n))
            return false;
    }
    return true;
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
    OpenFile f(path, O_RDONLY | O_NONBLOCK, OpenFile::RegularOnly{});
    if (!f.ok())
        return lastError();
    int error = 0;
    auto bytes = mp3::collectMp3Bytes(static_cast<std::uint64_t>(f.status().st_size),
        [&f, &error](std::uint64_t offset, std::size_t count) { return readAt(f.fd(), offset, count, error); });
    if (error != 0)
        return runtimeErrorFromErrno(error);
    return bytes;
}

std::optional<double> encoderGainDb(const std::string& path)
{
    const auto bytes = readMp3Bytes(path);
    return bytes ? mp3::encoderGainDb(*bytes) : std::nullopt;
}

std::optional<double> trackGainDb(const std::string& path)
{
    if (const auto gain = readId3v2(path).trackGainDb)
        return gain;
    return encoderGainDb(path);
}

} // namespace mp3file

Result<TagRead> ReadTag(const std::string& fileName)
{
    if (fileName.empty())
        return runtimeError(ErrorCode::BadFileName);
    OpenFile f(fileName, O_RDONLY, OpenFile::RegularOnly{});
    if (!f.ok())
        return lastError();
    TagRead read{stateFrom(f.status()), std::nullopt};
    if (read.state.size < mp3file::kShortestTagged)
        return read;
    int error = 0;
    const std::string last = readAt(f.fd(), read.state.size - kTagSize, kTagSize, error);
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
    const FileState state = stateFrom(f.status());
    if (known && state != *known)
        return TagWrite::Changed;
    if (state.size < mp3file::kShortestTagged)
        return TagWrite::TooShort;

    const std::uint64_t length = state.size;
    int error = 0;
    std::vector<KeptRead> kept;
    const auto readAndKeep = [&](std::uint64_t offset, std::size_t count) {
        std::string bytes = readAt(f.fd(), offset, count, error);
        kept.push_back({offset, bytes});
        return bytes;
    };
    const mp3::Mp3Bytes file = mp3::collectMp3Bytes(length, readAndKeep);
    if (error != 0)
        return runtimeErrorFromErrno(error);
    if (!mp3::hasMpegAudio(file))
        return TagWrite::NotMp3;
    if (file.tail.size() != kTagSize)
        return TagWrite::Changed; // cut short this very moment
    const bool overwrite = file.tail.starts_with("TAG");
    const std::uint64_t tagAt = overwrite ? length - kTagSize : length;
    for (const auto& [offset, count] : sampleBlocks(tagAt))
        readAndKeep(offset, count);
    if (error != 0)
        return runtimeErrorFromErrno(error);

    const std::string record = id3v1::encode(tag);
    if (overwrite) {
        // The marker stays; the fields follow it.
        if (!writeAt(f.fd(), std::string_view(record).substr(3), tagAt + 3))
            return lastError();
    } else if (!writeAt(f.fd(), record, tagAt)) {
        const RuntimeError failure = lastError();
        // A half-appended record would be taken for audio: take it back.
        (void)::ftruncate(f.fd(), static_cast<off_t>(length));
        return failure;
    }
    if (::fsync(f.fd()) != 0)
        return lastError();

    // Another program may have rewritten the file in place, or put another
    // in its place, between the check and the write.
    const auto after = stateOf(f.fd());
    if (!after)
        return after.error();
    struct stat named { };
    const bool sameFile = ::stat(fileName.c_str(), &named) == 0
        && static_cast<std::uint64_t>(named.st_dev) == after->device
        && static_cast<std::uint64_t>(named.st_ino) == after->inode;
    const bool unchanged = sameFile && after->size == tagAt + kTagSize
        && readAt(f.fd(), tagAt, kTagSize, error) == record && stillAsKept(f.fd(), kept, tagAt, error);
    if (error != 0)
        return runtimeErrorFromErrno(error);
    if (f.close() != 0)
        return lastError();
    if (!unchanged)
        return TagWrite::ChangedWhileWriting;
    if (known)
        *known = *after;
    return TagWrite::Written;
}

} // namespace zondari
