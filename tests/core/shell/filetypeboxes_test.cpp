#include <gtest/gtest.h>

#include "core/shell/filetypeboxes.h"

using namespace zondari;

namespace {

std::size_t indexOf(const char* caption)
{
    for (std::size_t i = 0; i < kFileTypeBoxes; ++i)
        if (std::string(kFileTypeCaptions[i]) == caption)
            return i;
    return kFileTypeBoxes;
}

}  // namespace

TEST(FileTypeBoxes, TwoLetterTypesKeepTheirSpace)
{
    FileTypeBoxes boxes = boxesFromList(".IT .xm ");
    EXPECT_EQ(boxes[indexOf("IT ")], kBoxOn);
    EXPECT_EQ(boxes[indexOf("XM ")], kBoxOn);  // read in capitals
    boxes[indexOf("AS ")] = kBoxOn;
    EXPECT_EQ(listFromBoxes(boxes), ".IT .XM .AS ");
}

TEST(FileTypeBoxes, FixedTypeMissingFromTheListOpensOffAndUnknownEntriesDrop)
{
    const FileTypeBoxes boxes = boxesFromList(".WAV.OGG.MID");
    EXPECT_EQ(boxes[indexOf("MP3")], kBoxOff);
    EXPECT_EQ(boxes[indexOf("M3U")], kBoxOff);
    EXPECT_EQ(listFromBoxes(boxes), ".WAV.MID");
    EXPECT_TRUE(isFixedFileType(indexOf("MP3")));
    EXPECT_TRUE(isFixedFileType(indexOf("WMA")));
    EXPECT_TRUE(isFixedFileType(indexOf("M3U")));
    EXPECT_FALSE(isFixedFileType(indexOf("WAV")));
    // An empty list ticks nothing; a malformed one is read four characters
    // at a time.
    EXPECT_EQ(listFromBoxes(boxesFromList("")), "");
    EXPECT_EQ(listFromBoxes(boxesFromList(".MPEG.MP3")), "");
}
