// The MP3 analysis from bytes: the ID3v2 skip, the frame search, the header
// decoding, the VBR header and the play time. The input is a whole file.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/analysis/audiorange.h"
#include "core/analysis/frameheader.h"
#include "core/analysis/framesearch.h"
#include "core/analysis/mp3analysis.h"
#include "core/analysis/vbrheader.h"
#include "fuzzcheck.h"

using namespace zondari;
using namespace zondari::mp3;

namespace {

void analyse(std::string_view bytes, std::uint64_t length)
{
    // The file is `bytes` followed, when `length` is larger, by a region
    // whose reads fail (a sparse or damaged file).
    const ReadAt read = [&](std::uint64_t offset, std::size_t count) {
        return offset >= bytes.size() ? std::string() : std::string(bytes.substr(offset, count));
    };
    const Mp3Bytes file = collectMp3Bytes(length, read);
    FUZZ_CHECK(file.audio.size() <= kAudioWindow);
    FUZZ_CHECK(file.tail.size() <= 128);
    const TrackInfo info = DecodeMp3Header(file);
    // The window is read a block first and the rest only when the block
    // does not decide: the whole window must tell nothing else.
    Mp3Bytes whole = file;
    whole.audio
        = read(file.tagsInFront, static_cast<std::size_t>(std::min<std::uint64_t>(kAudioWindow, audioBytes(file))));
    FUZZ_CHECK(whole.audio.starts_with(file.audio));
    FUZZ_CHECK(DecodeMp3Header(whole) == info);
    FUZZ_CHECK(encoderGainDb(whole) == encoderGainDb(file));
    const auto range = audioRange(file, read), wholeRange = audioRange(whole, read);
    FUZZ_CHECK(range.has_value() == wholeRange.has_value());
    FUZZ_CHECK(!range || (range->begin == wholeRange->begin && range->end == wholeRange->end));
    FUZZ_CHECK(info.BitRate >= 0 && info.Duration >= 0 && info.SampleRate >= 0);
    FUZZ_CHECK(info.Version == 0 || info.Version == 1 || info.Version == 2 || info.Version == 25);
    FUZZ_CHECK(info.Layer >= 0 && info.Layer <= 3);
    for (const std::string& v : detailValues(info))
        FUZZ_CHECK(v.size() < 4096);
    (void)vbrText(info);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    analyse(bytes, size);
    // The same bytes as the start of a file of 5 GiB.
    analyse(bytes, size + (std::uint64_t{5} << 30));

    // The search straight on the bytes, and what it promises.
    const std::string_view audio = bytes.substr(0, std::min(size, kAudioWindow));
    if (const auto start = findFirstFrame(audio)) {
        FUZZ_CHECK(start->offset + 4 <= audio.size());
        FUZZ_CHECK(start->offset < kSearchSpan);
        FUZZ_CHECK(isValidHeader(start->header));
        FUZZ_CHECK(start->header == wordAt(reinterpret_cast<const unsigned char*>(audio.data()) + start->offset));
        const FrameHeader h = splitHeader(start->header);
        const VbrHeader vbr = readVbrHeader(audio.substr(start->offset), h);
        const PlayTime t = playTime(h, h.tableBitRate(), vbr, size);
        FUZZ_CHECK(t.bitRate >= 0 && t.seconds >= 0);
    }

    (void)id3v2TagLength(bytes);
    return 0;
}
