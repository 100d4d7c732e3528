#include <gtest/gtest.h>
#include <tuple>

#include "core/analysis/audiorange.h"
#include "core/analysis/frameheader.h"
#include "core/analysis/framesearch.h"
#include "core/analysis/genres.h"
#include "core/analysis/mp3analysis.h"
#include "support/id3v2bytes.h"
#include "support/mp3fixtures.h"

using namespace zondari::mp3;
using namespace zondari;
using zondari::test::be32;
using zondari::test::frames;

TEST(FrameHeader, EachVersionHasItsOwnSamplingRatesAndReservedCodesAreNoHeader)
{
    // Version code in bits 19-20, sampling-rate index in bits 10-11.
    for (const auto& [version, rates] : {std::pair{3u, std::vector{44100, 48000, 32000, 0}},
             {2u, std::vector{22050, 24000, 16000, 0}}, {0u, std::vector{11025, 12000, 8000, 0}}})
        for (std::uint32_t index = 0; index < 4; ++index)
            EXPECT_EQ(splitHeader(0xFFE20000u | (version << 19) | (index << 10)).sampleRate(), rates[index]);
    EXPECT_TRUE(isValidHeader(0xFFFB9064u));
    // Version code 01, layer code 00, bit-rate index 15, sampling-rate index
    // 3, a sync bit missing, all ones.
    for (std::uint32_t bad : {0xFFEB9064u, 0xFFF99064u, 0xFFFBF064u, 0xFFFB9C64u, 0xFF7B9064u, 0xFFFFFFFFu})
        EXPECT_FALSE(isValidHeader(bad)) << std::hex << bad;
}

namespace {

// An ID3v2.3 tag whose body is `body`.
std::string id3v2(const std::string& body, bool footer = false)
{
    const std::string tag = zondari::test::id3v2bytes::Tag{3, std::uint8_t(footer ? 0x10 : 0), {body}}.bytes();
    return footer ? tag + "3DI" + tag.substr(3, 7) : tag;
}

// The first frame with a VBR header `kind` at `offset`: flags, frame count.
std::string withVbrHeader(
    std::string stream, std::size_t offset, const std::string& kind, std::uint32_t flags, std::uint32_t count)
{
    stream.replace(offset, 12, kind + be32(flags) + be32(count));
    return stream;
}

std::string id3v1(const std::string& marker, const std::string& title, unsigned char genre)
{
    std::string tag = marker + title;
    tag.resize(127, ' ');
    return tag + static_cast<char>(genre);
}

TrackInfo analyse(const std::string& file)
{
    const Mp3Bytes bytes = collectMp3Bytes(file.size(), [&file](std::uint64_t offset, std::size_t count) {
        return offset >= file.size() ? std::string() : file.substr(offset, count);
    });
    return DecodeMp3Header(bytes);
}

// MPEG 1 layer III, 128 kbit/s, 44.1 kHz, joint stereo: 417-byte frames.
constexpr std::uint32_t kCbr128 = 0xFFFB9064u;
// MPEG 1 layer III, 128 kbit/s, 44.1 kHz, single channel.
constexpr std::uint32_t kMono128 = 0xFFFB90C4u;
// MPEG 2 layer III, 64 kbit/s, 22.05 kHz, stereo: 72 x 64000 / 22050 = 208.
constexpr std::uint32_t kMpeg2 = 0xFFF38004u;
// MPEG 2.5 layer III, 16 kbit/s, 8 kHz, single channel: 72 x 16000 / 8000 = 144.
constexpr std::uint32_t kMpeg25Mono = 0xFFE328C0u;
// MPEG 1 layer II, 192 kbit/s, 48 kHz, stereo: 576-byte frames.
constexpr std::uint32_t kLayer2 = 0xFFFDA400u;

} // namespace

TEST(Mp3Analysis, EachStreamGivesItsDetails)
{
    std::string art; // a picture-like ID3v2 body full of byte pairs that look like frame starts
    for (int i = 0; i < 100 * 1024 / 4; ++i)
        art += be32(kMpeg2);
    // A lone header-like pair, then a header whose "next frame" is not one.
    const std::string junk
        = std::string(1000, '\x11') + "\xFF\xFB" + std::string(500, '\x22') + be32(kCbr128) + std::string(600, '\x33');
    // Free format (index 0), 44.1 kHz, frames of 600 bytes alternating the
    // padding bit: 600 x 8 x 44100 / 1152 = 183.75 kbit/s.
    const std::uint32_t free = 0xFFFB0064u;
    std::string freeFormat;
    for (int i = 0; i < 200; ++i)
        freeFormat += frames(1, i % 2 ? free | 0x200u : free, 600);
    // A free-format frame whose twin is 600 bytes on, with a pair of MPEG 2
    // frames inside its body: the first frame, though the pair is whole
    // sooner.
    std::string hidingPair = be32(free) + std::string(6, '\x11') + frames(2, kMpeg2, 208);
    hidingPair.resize(600, '\0');
    const std::string cbr = frames(1000, kCbr128, 417), few = frames(100, kCbr128, 417);
    std::string vbri = cbr;
    vbri.replace(36, 18, "VBRI" + std::string(10, '\x01') + be32(3000)); // the count at offset 14
    const struct {
        const char* what;
        std::string file;
        int version, layer, bitRate, sampleRate, duration;
        bool vbr;
        std::uint32_t vbrFrames;
        const char* title; // of the ID3v1 tag, or none
    } cases[] = {
        // Durations: 417000 x 8 / 128000, 208000 x 8 / 64000, 144000 x 8 /
        // 16000, 57600 x 8 / 192000 = 2.4.
        {"MPEG 1 layer III", cbr, 1, 3, 128, 44100, 26, false, 0, nullptr},
        {"MPEG 2", frames(1000, kMpeg2, 208), 2, 3, 64, 22050, 26, false, 0, nullptr},
        {"MPEG 2.5 mono", frames(1000, kMpeg25Mono, 144), 25, 3, 16, 8000, 72, false, 0, nullptr},
        {"layer II", frames(100, kLayer2, 576), 1, 2, 192, 48000, 2, false, 0, nullptr},
        // Tags in front are no audio, nor the false sync inside them.
        {"behind ID3v2", id3v2(art) + frames(200, kCbr128, 417), 1, 3, 128, 44100, 5, false, 0, nullptr},
        {"behind a chain, one with a footer", id3v2(art, true) + id3v2("second") + frames(200, kCbr128, 417), 1, 3, 128,
            44100, 5, false, 0, nullptr},
        {"behind bytes that are no audio", junk + frames(500, kMpeg2, 208), 2, 3, 64, 22050, 13, false, 0, nullptr},
        // What decides lies past the first 4 KiB: a header whose next frame
        // is not one, a free-format frame whose twin comes after the pair.
        {"a false frame at 4 KiB",
            std::string(3900, '\x11') + be32(kCbr128) + std::string(600, '\x33') + frames(200, kMpeg2, 208), 2, 3, 64,
            22050, 5, false, 0, nullptr},
        {"a free-format twin past 4 KiB", std::string(3800, '\x11') + hidingPair + freeFormat, 1, 3, 184, 44100, 5,
            false, 0, nullptr},
        // Only the first 64 KiB are looked at; what is before the audio
        // counts in its time (106106 x 8 / 64000, 107235 x 8 / 128000).
        {"just inside 64 KiB", std::string(64 * 1024 - 1, '\0') + few, 1, 3, 128, 44100, 6, false, 0, nullptr},
        {"past 64 KiB", std::string(64 * 1024, '\0') + few, 0, 0, 0, 0, 0, false, 0, nullptr},
        // Free format counts only with its twin within 4 KiB.
        {"free format", freeFormat, 1, 3, 184, 44100, 5, false, 0, nullptr},
        {"lone free format", be32(free) + std::string(5000, '\0'), 0, 0, 0, 0, 0, false, 0, nullptr},
        // VBR: 1000 frames of 1152 samples at 44.1 kHz, 26.12 s; said to
        // hold 2000, twice the time and half the rate. The header's own
        // frame is not audio (9 x 417 bytes in 9 x 1152 samples, not 142
        // kbit/s). "Info" is CBR with a count; without the count's flag, or
        // with 0, nothing gives a VBR stream's length.
        {"Xing", withVbrHeader(cbr, 36, "Xing", 0x0F, 1000), 1, 3, 128, 44100, 26, true, 1000, nullptr},
        {"Xing of 2000", withVbrHeader(cbr, 36, "Xing", 0x01, 2000), 1, 3, 64, 44100, 52, true, 2000, nullptr},
        {"Xing of 9", withVbrHeader(frames(10, kCbr128, 417), 36, "Xing", 1, 9), 1, 3, 128, 44100, 0, true, 9, nullptr},
        {"Info", withVbrHeader(cbr, 36, "Info", 0x0F, 2000), 1, 3, 128, 44100, 52, false, 0, nullptr},
        {"Info without a count", withVbrHeader(frames(39, kCbr128, 417), 36, "Info", 0x0E, 5), 1, 3, 128, 44100, 0,
            false, 0, nullptr}, // 38 x 417 bytes of audio: 0.99 s
        {"Xing without a count", withVbrHeader(cbr, 36, "Xing", 0x0E, 5), 1, 3, 0, 44100, 0, true, 0, nullptr},
        {"Xing of 0", withVbrHeader(cbr, 36, "Xing", 0x0F, 0), 1, 3, 0, 44100, 0, true, 0, nullptr},
        {"VBRI", vbri, 1, 3, 43, 44100, 78, true, 3000, nullptr}, // 3000 x 1152 / 44100 s: 42.5 kbit/s
        // Where the version and mode put it (99 x 417 bytes in 100 frames:
        // 126 kbit/s); elsewhere, or not the exact text, it is no header.
        {"Xing in MPEG 2", withVbrHeader(frames(1000, kMpeg2, 208), 21, "Xing", 1, 1000), 2, 3, 64, 22050, 26, true,
            1000, nullptr},
        {"Xing in MPEG 2.5 mono", withVbrHeader(frames(1000, kMpeg25Mono, 144), 13, "Xing", 1, 1000), 25, 3, 16, 8000,
            72, true, 1000, nullptr},
        {"Xing in mono", withVbrHeader(frames(100, kMono128, 417), 21, "Xing", 1, 100), 1, 3, 126, 44100, 2, true, 100,
            nullptr},
        {"Xing at the stereo place in mono", withVbrHeader(frames(100, kMono128, 417), 36, "Xing", 1, 100), 1, 3, 128,
            44100, 2, false, 0, nullptr},
        {"xing", withVbrHeader(few, 36, "xing", 1, 100), 1, 3, 128, 44100, 2, false, 0, nullptr},
        // ID3v1 only in the last 128 bytes, "TAG" in any case: no audio.
        {"ID3v1", few + id3v1("TAG", "Titolo", 17), 1, 3, 128, 44100, 2, false, 0, "Titolo"},
        {"lower-case ID3v1", few + id3v1("tag", "Piccolo", 0), 1, 3, 128, 44100, 2, false, 0, "Piccolo"},
        {"\"tag\" in the text", few + "a tag in the text" + std::string(200, ' '), 1, 3, 128, 44100, 2, false, 0,
            nullptr},
    };
    for (const auto& c : cases) {
        const TrackInfo t = analyse(c.file);
        EXPECT_EQ(std::tuple(t.Version, t.Layer, t.BitRate, t.SampleRate, t.Duration, t.IsVbr, t.VbrFrames),
            std::tuple(c.version, c.layer, c.bitRate, c.sampleRate, c.duration, c.vbr, c.vbrFrames))
            << c.what;
        EXPECT_EQ(t.HasTag, c.title != nullptr) << c.what;
        EXPECT_EQ(t.Title, c.title ? c.title : "") << c.what;
    }
    EXPECT_EQ(analyse(cbr).ChannelMode, "joint stereo");
    EXPECT_EQ(analyse(frames(10, kMpeg25Mono, 144)).ChannelMode, "single channel");
    EXPECT_EQ(analyse(few + id3v1("TAG", "Titolo", 17)).Genre, 17);
    EXPECT_EQ(
        GenreName(17) + "|" + GenreName(85) + "|" + GenreName(147) + "|" + GenreName(148), "Rock|Bebob|Synthpop|");
}

TEST(Id3v2Chain, EmptyHeadersAreFollowedABlockAtATimeAndOnlySoFar)
{
    // A 200 MB file of nothing but empty 10-byte ID3v2 headers, read
    // through a counter: the analysis must not cost a read per header.
    const std::string header("ID3\x03\x00\x00\x00\x00\x00\x00", 10);
    constexpr std::uint64_t length = 200'000'000;
    std::size_t reads = 0, bytes = 0;
    const ReadAt headers = [&](std::uint64_t offset, std::size_t count) {
        ++reads;
        std::string out;
        for (std::uint64_t i = offset; i < std::min(length, offset + count); ++i)
            out += header[i % 10];
        bytes += out.size();
        return out;
    };
    const Mp3Bytes file = collectMp3Bytes(length, headers);
    EXPECT_LT(reads, 40u);
    EXPECT_LT(bytes, 1u << 20);
    const TrackInfo info = DecodeMp3Header(file);
    EXPECT_EQ(info.Version, 0);
    EXPECT_EQ(info.BitRate, 0);

    // A few empty tags, then a real one, then audio: all are skipped.
    std::string real = header + header + header;
    real += std::string("ID3\x04\x00\x00\x00\x00\x01\x00", 10) + std::string(128, 'x');
    const std::size_t audioAt = real.size();
    real += frames(40, kCbr128, 417);
    const Mp3Bytes tagged = collectMp3Bytes(real.size(), [&](std::uint64_t offset, std::size_t count) {
        return offset >= real.size() ? std::string() : real.substr(offset, count);
    });
    EXPECT_EQ(tagged.tagsInFront, audioAt);
    EXPECT_EQ(DecodeMp3Header(tagged).BitRate, 128);
}

TEST(AudioRange, TagsAtTheEndAreNoAudioAndAnEndThatCannotBeReadIsNoTag)
{
    const auto le32 = [](std::uint32_t v) {
        std::string b = be32(v);
        return std::string(b.rbegin(), b.rend());
    };
    const std::string audio = frames(40, kCbr128, 417);
    const std::string ape
        = std::string(100, 'i') + "APETAGEX" + le32(2000) + le32(132) + le32(1) + le32(0) + std::string(8, '\0');
    const std::string lyrics = "LYRICSBEGININD0000210" + std::string("000021") + "LYRICS200";
    const std::string tag = id3v1("TAG", "Titolo", 17);
    const struct {
        const char* what;
        std::string file;
        std::uint64_t unreadable; // bytes past the file whose reads fail
        std::uint64_t begin, end;
    } cases[] = {
        {"bare", audio, 0, 0, audio.size()},
        {"Xing: its frame is no audio", withVbrHeader(audio, 36, "Xing", 1, 39), 0, 417, audio.size()},
        {"ID3v1", audio + tag, 0, 0, audio.size()},
        {"APE, then ID3v1", audio + ape + tag, 0, 0, audio.size()},
        {"Lyrics3 v2, then ID3v1", audio + lyrics + tag, 0, 0, audio.size()},
        {"an end that cannot be read", audio + tag, 4000, 0, audio.size() + tag.size() + 4000},
    };
    for (const auto& c : cases) {
        const ReadAt read = [&c](std::uint64_t offset, std::size_t count) {
            return offset >= c.file.size() ? std::string() : c.file.substr(offset, count);
        };
        const auto range = audioRange(collectMp3Bytes(c.file.size() + c.unreadable, read), read);
        ASSERT_TRUE(range.has_value()) << c.what;
        EXPECT_EQ(std::pair(range->begin, range->end), std::pair(c.begin, c.end)) << c.what;
    }
}
