#include <filesystem>
#include <gtest/gtest.h>

#include "core/analysis/mp3analysis.h"
#include "platform/mp3file.h"
#include "support/id3v2bytes.h"
#include "support/mp3fixtures.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::test;

namespace {

// What lame was asked to make, and what the analysis must then say.
struct Kind {
    const char* name;
    ToneSpec tone;
    int version;
    int sampleRate;
    const char* mode;
    int bitRate; // 0: a VBR average, checked for range only
};

// (A CBR file with lame's ID3v1 tag and an MPEG 2.5 one: zondari-cli info
// in cli/analysis_commands_test.cpp.)
const Kind kKinds[] = {
    {"vbr", {5.5, 44100, 2, "-V 2 -m s"}, 1, 44100, "stereo", 0},
    {"mpeg2", {5.5, 44100, 2, "--resample 22.05 -b 64 -m s"}, 2, 22050, "stereo", 64},
    {"monovbr", {5.5, 44100, 1, "-m m -V 2"}, 1, 44100, "single channel", 0},
};

TrackInfo analyse(const std::string& path)
{
    const auto bytes = mp3file::readMp3Bytes(path);
    EXPECT_TRUE(bytes.ok()) << path;
    return bytes ? mp3::DecodeMp3Header(*bytes) : TrackInfo{};
}

void expectKind(const TrackInfo& t, const Kind& k)
{
    SCOPED_TRACE(k.name);
    EXPECT_EQ(t.Version, k.version);
    EXPECT_EQ(t.Layer, 3);
    EXPECT_EQ(t.SampleRate, k.sampleRate);
    EXPECT_EQ(t.ChannelMode, k.mode);
    EXPECT_EQ(t.Duration, 5); // 5.5 s of tone plus the encoder's delay and padding
    EXPECT_EQ(t.IsVbr, k.bitRate == 0);
    if (k.bitRate) {
        EXPECT_EQ(t.BitRate, k.bitRate);
    } else {
        EXPECT_TRUE(t.BitRate >= 32 && t.BitRate <= 320) << t.BitRate;
    }
}

} // namespace

TEST(Mp3Analysis, EachKindLameMakesAloneAndBehindABigId3v2Tag)
{
    ASSERT_TRUE(haveMp3Tools());
    TempDir dir;
    for (const Kind& k : kKinds) {
        const std::string bare = makeMp3(dir.path(), std::string(k.name) + ".mp3", k.tone);
        ASSERT_FALSE(bare.empty()) << k.name;
        const TrackInfo plain = analyse(bare);
        expectKind(plain, k);
        EXPECT_FALSE(plain.HasTag);
        EXPECT_EQ(plain.Genre, 255);

        // The same audio behind 100 KiB of ID3v2 tag full of frame-like
        // byte pairs, as album art may be.
        std::string art;
        for (int i = 0; i < 100 * 1024 / 4; ++i)
            art += be32(k128);
        const std::string front
            = dir.write(std::string(k.name) + "-v2.mp3", id3v2bytes::Tag{3, 0, {art}}.bytes() + readFile(bare));
        const TrackInfo behind = analyse(front);
        expectKind(behind, k);
        if (k.bitRate == 0) {
            EXPECT_EQ(behind.BitRate, plain.BitRate); // the tag is not counted as audio
        }
    }
}

// (Appending once then writing over, a missing or locked file:
// cli/analysis_commands_test.cpp through zondari-cli tag; a file changed,
// cut or gone since it was read: ui/tags/frmmain_test.cpp, the editor's
// save.)
TEST(WriteTag, LeavesShortFilesAloneAndAFolderNamedLikeATrack)
{
    TempDir dir;
    const std::string shortFile = dir.write("short.mp3", std::string(254, 'a'));
    EXPECT_EQ(*WriteTag(shortFile, {}), TagWrite::TooShort);
    EXPECT_EQ(readFile(shortFile), std::string(254, 'a'));
    // The analysis looks at no file shorter than 256 bytes.
    EXPECT_EQ(*WriteTag(dir.write("255.mp3", frames(1).substr(0, 255)), {}), TagWrite::NotMp3);
    EXPECT_EQ(*WriteTag(dir.write("256.mp3", frames(1).substr(0, 256)), {}), TagWrite::Written);
    EXPECT_EQ(std::filesystem::file_size(dir / "256.mp3"), 384u);
    dir.mkdir("x.mp3");
    EXPECT_EQ(WriteTag(dir / "x.mp3", {}).error().number, 75);
}

TEST(WriteTag, WritesInPlaceInAFolderThatTakesNoNewFiles)
{
    TempDir dir;
    const std::string path = dir.write("music/brano.mp3", frames(3));
    ReadOnly lock(dir / "music");
    ASSERT_TRUE(lock.ok());
    TagRecord tag;
    tag.Title = "Nella cartella";
    ASSERT_TRUE(WriteTag(path, tag).ok());
    const auto readRead = ReadTag(path);
    ASSERT_TRUE(readRead && readRead->tag);
    const TagRecord& read = *readRead->tag;
    EXPECT_EQ(id3v1::fieldText(read.Title), "Nella cartella");
}
