#include "platform/trackdata.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include "core/analysis/audiorange.h"
#include "core/analysis/genres.h"
#include "core/common/text.h"
#include "core/tags/id3v2.h"
#include "platform/id3v2file.h"
#include "platform/openfile.h"

namespace zondari::cataloguestore {

using namespace catalogue;

namespace {

struct StateFree {
    void operator()(XXH3_state_t* s) const { XXH3_freeState(s); }
};

// The hash of the bytes from `begin` to `end`, read in large blocks.
Result<std::string> hashRange(int fd, std::uint64_t begin, std::uint64_t end, std::atomic<std::uint64_t>* bytesRead)
{
    constexpr std::size_t kBlock = 1 << 20;
    (void)::posix_fadvise(fd, static_cast<off_t>(begin), static_cast<off_t>(end - begin), POSIX_FADV_SEQUENTIAL);
    const std::unique_ptr<XXH3_state_t, StateFree> state(XXH3_createState());
    if (!state || XXH3_128bits_reset(state.get()) != XXH_OK)
        return runtimeError(ErrorCode::OutOfMemory);
    static thread_local std::unique_ptr<char[]> buffer(new char[kBlock]);
    for (std::uint64_t at = begin; at < end;) {
        const ssize_t n = ::pread(fd, buffer.get(), static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, end - at)),
            static_cast<off_t>(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return lastError();
        if (n == 0)
            return runtimeErrorFromErrno(EIO); // cut short while it was read
        XXH3_128bits_update(state.get(), buffer.get(), static_cast<std::size_t>(n));
        at += static_cast<std::uint64_t>(n);
        if (bytesRead)
            bytesRead->fetch_add(static_cast<std::uint64_t>(n), std::memory_order_relaxed);
    }
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state.get()));
    std::string hex;
    for (unsigned char b : canonical.digest) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", b);
        hex += two;
    }
    return hex;
}

// ID3v1.1: a track number in byte 126 behind a NUL that ends the comment.
std::string id3v1Track(std::string_view tail)
{
    if (tail.size() != kTagSize || tail[125] != '\0' || tail[126] == '\0')
        return {};
    return std::to_string(static_cast<unsigned char>(tail[126]));
}

void takeTags(TrackData& r, const TrackInfo& v1, std::string_view tail, const Id3v2Tag& v2)
{
    const auto pick
        = [](const std::string& a, const std::string& b) { return text::leftChars(a.empty() ? b : a, kMaxTagChars); };
    r.title = pick(v2.title, v1.Title);
    r.artist = pick(v2.artist, v1.Artist);
    r.album = pick(v2.album, v1.Album);
    r.year = pick(v2.year, v1.Year);
    r.genre = pick(v2.genre, v1.HasTag ? GenreName(v1.Genre) : std::string());
    r.track = pick(v2.track, v1.HasTag ? id3v1Track(tail) : std::string());
}

} // namespace

bool isMp3Name(std::string_view path)
{
    return path.size() >= 4 && text::toLowerAscii(path.substr(path.size() - 4)) == ".mp3";
}

Result<TrackData> readTrackData(const std::string& path, bool fingerprint, std::atomic<std::uint64_t>* bytesRead)
{
    OpenFile f(path, O_RDONLY | O_NONBLOCK, OpenFile::RegularOnly{});
    if (!f.ok())
        return lastError();
    const struct stat& st = f.status();
    TrackData r;
    r.entry = path;
    r.size = static_cast<std::uint64_t>(st.st_size);
    r.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    if (!isMp3Name(path))
        return r;

    int error = 0;
    const auto read
        = [&f, &error](std::uint64_t offset, std::size_t count) { return readAt(f.fd(), offset, count, error); };
    const mp3::Mp3Bytes bytes = mp3::collectMp3Bytes(r.size, read);
    const TrackInfo info = mp3::DecodeMp3Header(bytes);
    const auto range = mp3::audioRange(bytes, read);
    if (error != 0)
        return runtimeErrorFromErrno(error);
    if (info.Version != 0) {
        r.audio = true;
        r.seconds = info.Duration;
        r.kbps = info.BitRate;
        r.hz = info.SampleRate;
        r.channels = info.ChannelMode;
    }
    // The tag's own bytes, not the file a second time: a tag larger than
    // the reader takes still gives its text frames, which come first.
    Id3v2Tag v2;
    if (bytes.tagsInFront > 0)
        v2 = id3v2file::fromBytes(
            read(0, static_cast<std::size_t>(std::min({bytes.tagsInFront, r.size, id3v2file::kLargestRead}))));
    if (error != 0)
        return runtimeErrorFromErrno(error);
    takeTags(r, info, bytes.tail, v2);
    if (range) {
        r.audioBytes = range->size();
        if (fingerprint) {
            auto hash = hashRange(f.fd(), range->begin, range->end, bytesRead);
            if (!hash)
                return hash.error();
            r.fingerprint = *hash;
        }
    }
    return r;
}

} // namespace zondari::cataloguestore
