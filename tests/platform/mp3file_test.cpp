#include <filesystem>
#include <gtest/gtest.h>

#include "platform/mp3file.h"
#include "support/mp3fixtures.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::test;

// (What the analysis makes of files lame writes, CBR, VBR, MPEG 2.5 and
// mono: ui/analysis/frmdatimp3_test, cli/analysis_commands_test; of a big
// ID3v2 tag in front: core/analysis/mp3analysis_test.)

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
