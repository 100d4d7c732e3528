#include <gtest/gtest.h>

#include "core/analysis/frameheader.h"
#include "core/analysis/framesearch.h"
#include "core/analysis/genres.h"
#include "core/analysis/mp3analysis.h"
#include "support/id3v2bytes.h"
#include "support/mp3fixtures.h"

using namespace zondari::mp3;
using namespace zondari;
using zondari::test::be32;

TEST(FrameHeader, DecodesAnMpeg1Layer3HeaderAndTheFrameLengthsOfEachLayer)
{
    const FrameHeader h = splitHeader(0xFFFB9064u);
    EXPECT_EQ(h.version(), 1);
    EXPECT_EQ(h.layer(), 3);
    EXPECT_EQ(h.tableBitRate(), 128);
    EXPECT_EQ(h.sampleRate(), 44100);
    EXPECT_EQ(channelModeText(h.channelModeCode), "joint stereo");
    EXPECT_EQ(h.protectionBit, 1); // no CRC
    EXPECT_EQ(emphasisText(h.emphasisCode), "no");
    EXPECT_EQ(h.copyrightBit, 0);
    EXPECT_EQ(h.originalBit, 1);
    EXPECT_EQ(frameLength(h), 417u); // 144 x 128000 / 44100
    // Layer I, MPEG 1, 32 kbit/s, 48 kHz, padded: (12 x 32000 / 48000 + 1) x 4.
    EXPECT_EQ(frameLength(splitHeader(0xFFFF1400u | 0x200u)), 36u);
    // Layer II, MPEG 1, 192 kbit/s, 48 kHz: 144 x 192000 / 48000.
    EXPECT_EQ(frameLength(splitHeader(0xFFFDA400u)), 576u);
    // Layer III, MPEG 2.5, 8 kbit/s, 8 kHz: 72 x 8000 / 8000.
    EXPECT_EQ(frameLength(splitHeader(0xFFE31800u)), 72u);
}

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

// `count` frames of `length` bytes, each opening with `header`, the rest 0.
std::string frames(std::uint32_t header, std::size_t length, int count)
{
    return zondari::test::frames(count, header, length);
}

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

TEST(FrameSearch, FindsTheFramesOfEachVersionAndLayer)
{
    struct Case {
        std::string file;
        int version, layer, bitRate, sampleRate;
        const char* mode;
        int duration;
    };
    for (const Case& c : {
             Case{frames(kCbr128, 417, 1000), 1, 3, 128, 44100, "joint stereo", 26}, // 417000 x 8 / 128000 = 26.06
             Case{frames(kMpeg2, 208, 1000), 2, 3, 64, 22050, "stereo", 26}, // 208000 x 8 / 64000
             Case{frames(kMpeg25Mono, 144, 1000), 25, 3, 16, 8000, "single channel", 72}, // 144000 x 8 / 16000
             Case{frames(kLayer2, 576, 100), 1, 2, 192, 48000, "stereo", 2}, // 57600 x 8 / 192000 = 2.4
         }) {
        const TrackInfo t = analyse(c.file);
        SCOPED_TRACE(c.version * 10 + c.layer);
        EXPECT_EQ(t.Version, c.version);
        EXPECT_EQ(t.Layer, c.layer);
        EXPECT_EQ(t.BitRate, c.bitRate);
        EXPECT_EQ(t.SampleRate, c.sampleRate);
        EXPECT_EQ(t.ChannelMode, c.mode);
        EXPECT_EQ(t.Duration, c.duration);
    }
}

TEST(FrameSearch, SkipsId3v2TagsAndTheFalseSyncInsideThem)
{
    // A picture-like body full of byte pairs that look like frame starts.
    std::string art;
    for (int i = 0; i < 100 * 1024 / 4; ++i)
        art += be32(kMpeg2);
    const std::string audio = frames(kCbr128, 417, 200);
    TrackInfo one = analyse(id3v2(art) + audio);
    EXPECT_EQ(one.Version, 1);
    EXPECT_EQ(one.SampleRate, 44100);
    EXPECT_EQ(one.Duration, 5); // 83400 x 8 / 128000 = 5.2: the tag is not counted

    // Several tags in a row, one with a footer.
    TrackInfo many = analyse(id3v2(art, true) + id3v2("second") + audio);
    EXPECT_EQ(many.Version, 1);
    EXPECT_EQ(many.Duration, 5);
}

TEST(FrameSearch, PassesOverBytesBeforeTheAudio)
{
    // A lone header-like pair, then a header whose "next frame" is not one.
    std::string junk = std::string(1000, '\x11') + "\xFF\xFB" + std::string(500, '\x22');
    junk += be32(kCbr128) + std::string(600, '\x33');
    TrackInfo t = analyse(junk + frames(kMpeg2, 208, 500));
    EXPECT_EQ(t.Version, 2);
    EXPECT_EQ(t.BitRate, 64);
}

TEST(FrameSearch, LooksOnlyAtTheFirst64KiBAfterTheTags)
{
    const std::string lateAudio = std::string(64 * 1024, '\0') + frames(kCbr128, 417, 100);
    TrackInfo t = analyse(lateAudio);
    EXPECT_EQ(t.Version, 0);
    EXPECT_EQ(t.BitRate, 0);
    EXPECT_EQ(t.ChannelMode, "");

    const std::string justInside = std::string(64 * 1024 - 1, '\0') + frames(kCbr128, 417, 100);
    EXPECT_EQ(analyse(justInside).Version, 1);
}

TEST(FrameSearch, FreeFormatCountsOnlyWhenItsTwinFollows)
{
    // Free format (index 0), 44.1 kHz, frames of 600 bytes alternating the
    // padding bit: 600 x 8 x 44100 / 1152 = 183.75 kbit/s.
    const std::uint32_t free = 0xFFFB0064u;
    std::string stream;
    for (int i = 0; i < 200; ++i)
        stream += frames(i % 2 ? free | 0x200u : free, 600, 1);
    TrackInfo t = analyse(stream);
    EXPECT_EQ(t.Version, 1);
    EXPECT_EQ(t.BitRate, 184);
    EXPECT_EQ(t.Duration, 5); // 120000 x 8 / 184000 = 5.2

    // Without a twin within 4 KiB it is no frame start.
    TrackInfo lone = analyse(be32(free) + std::string(5000, '\0'));
    EXPECT_EQ(lone.Version, 0);
}

TEST(VbrHeader, MarksVbrAndItsCountGivesTimeAndAverage)
{
    struct Case {
        std::string file;
        bool vbr;
        std::uint32_t count;
        int bitRate, duration;
    };
    std::string vbri = frames(kCbr128, 417, 1000);
    vbri.replace(36, 18, "VBRI" + std::string(10, '\x01') + be32(3000)); // the count at offset 14
    const std::string cbr = frames(kCbr128, 417, 1000);
    for (const Case& c : {
             // 1000 frames of 1152 samples at 44.1 kHz: 26.12 s; 417000
             // bytes of audio: 127.7 kbit/s. Said to hold 2000: twice the
             // time, half the rate.
             Case{withVbrHeader(cbr, 36, "Xing", 0x0F, 1000), true, 1000, 128, 26},
             Case{withVbrHeader(cbr, 36, "Xing", 0x01, 2000), true, 2000, 64, 52},
             // The header's own frame is not audio: 9 x 417 bytes in 9 x
             // 1152 samples (142 kbit/s if it were counted), 0.2 s.
             Case{withVbrHeader(frames(kCbr128, 417, 10), 36, "Xing", 1, 9), true, 9, 128, 0},
             // "Info" is CBR with a frame count: 2000 x 1152 / 44100 s; no VBR count.
             Case{withVbrHeader(cbr, 36, "Info", 0x0F, 2000), false, 0, 128, 52},
             // No frame-count flag, or a count of 0: nothing gives the length.
             Case{withVbrHeader(cbr, 36, "Xing", 0x0E, 5), true, 0, 0, 0},
             Case{withVbrHeader(cbr, 36, "Xing", 0x0F, 0), true, 0, 0, 0},
             // Where the version and mode put it: 1000 x 576 / 22050 s, 1000 x
             // 576 / 8000 s, 100 x 1152 / 44100 s (99 x 417 bytes: 126 kbit/s).
             Case{withVbrHeader(frames(kMpeg2, 208, 1000), 21, "Xing", 1, 1000), true, 1000, 64, 26},
             Case{withVbrHeader(frames(kMpeg25Mono, 144, 1000), 13, "Xing", 1, 1000), true, 1000, 16, 72},
             Case{withVbrHeader(frames(kMono128, 417, 100), 21, "Xing", 1, 100), true, 100, 126, 2},
             // Elsewhere, or not the exact text, it is no header: 41700 bytes
             // at 128 kbit/s.
             Case{withVbrHeader(frames(kMono128, 417, 100), 36, "Xing", 1, 100), false, 0, 128, 2},
             Case{withVbrHeader(frames(kCbr128, 417, 100), 36, "xing", 1, 100), false, 0, 128, 2},
             Case{vbri, true, 3000, 43, 78}, // 3000 x 1152 / 44100 = 78.4 s: 42.5 kbit/s
         }) {
        const TrackInfo t = analyse(c.file);
        SCOPED_TRACE(c.count);
        EXPECT_EQ(t.IsVbr, c.vbr);
        EXPECT_EQ(t.VbrFrames, c.count);
        EXPECT_EQ(t.BitRate, c.bitRate);
        EXPECT_EQ(t.Duration, c.duration);
    }
}

TEST(Id3v1InTheAnalysis, OnlyAtTheLast128BytesInAnyCase)
{
    const std::string audio = frames(kCbr128, 417, 100);
    TrackInfo upper = analyse(audio + id3v1("TAG", "Titolo", 17));
    EXPECT_TRUE(upper.HasTag);
    EXPECT_EQ(upper.Title, "Titolo");
    EXPECT_EQ(upper.Genre, 17);
    EXPECT_EQ(upper.Duration, 2); // 41700 x 8 / 128000 = 2.6: the tag is not audio

    TrackInfo lower = analyse(audio + id3v1("tag", "Piccolo", 0));
    EXPECT_TRUE(lower.HasTag);
    EXPECT_EQ(lower.Title, "Piccolo");

    // "tag" elsewhere in the last 256 bytes is no record.
    TrackInfo text = analyse(audio + "a tag in the text" + std::string(200, ' '));
    EXPECT_FALSE(text.HasTag);
    EXPECT_EQ(text.Title, "");
    EXPECT_EQ(text.Genre, 255);
}

TEST(Genres, NamesAsTheProgramSpellsThem)
{
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
    real += frames(kCbr128, 417, 40);
    const Mp3Bytes tagged = collectMp3Bytes(real.size(), [&](std::uint64_t offset, std::size_t count) {
        return offset >= real.size() ? std::string() : real.substr(offset, count);
    });
    EXPECT_EQ(tagged.tagsInFront, audioAt);
    EXPECT_EQ(DecodeMp3Header(tagged).BitRate, 128);
}
