#include <gtest/gtest.h>

#include "core/shell/filetypeboxes.h"
#include "core/shell/filetypes.h"

using namespace zondari;

TEST(FileTypes, ExtensionEntryIsPointAndCapitals)
{
    for (const auto& [name, entry] : {std::pair{"brano.mp3", ".MP3"}, {"a.b.Wav", ".WAV"}, {"modulo.it", ".IT "},
             {"senza", ""}, {"video.mpeg", ".MPEG"}})
        EXPECT_EQ(extensionEntry(name), entry) << name;
}

TEST(FileTypes, DefaultListTakesItsFourTypesInAnyCase)
{
    const std::string list = ".WAV.MP3.M3U.WMA";
    for (const char* yes : {"brano.mp3", "BRANO.MP3", "x.Wav", "lista.m3u", "a.wma", "a.b.mp3"})
        EXPECT_TRUE(matchesFileTypes(yes, list)) << yes;
    for (const char* no : {"fooav.m", "nomeAV.M", "x.mpeg", "mp3", "brano.mp3.bak", "readme.txt", ".mp", "x.mp"})
        EXPECT_FALSE(matchesFileTypes(no, list)) << no;
    EXPECT_FALSE(matchesFileTypes("a.mp3", ""));
    // Two-letter types match with their space.
    for (const char* yes : {"song.it", "SONG.XM", "a.as"})
        EXPECT_TRUE(matchesFileTypes(yes, ".MP3.IT .XM .AS ")) << yes;
    for (const char* no : {"a.s", "a.i"})
        EXPECT_FALSE(matchesFileTypes(no, ".MP3.IT .XM .AS ")) << no;
}

namespace {

std::size_t indexOf(const char* caption)
{
    for (std::size_t i = 0; i < kFileTypeBoxes; ++i)
        if (std::string(kFileTypeCaptions[i]) == caption)
            return i;
    return kFileTypeBoxes;
}

} // namespace

TEST(FileTypeBoxes, TwoLetterTypesKeepTheirSpace)
{
    FileTypeBoxes boxes = boxesFromList(".IT .xm ");
    EXPECT_EQ(boxes[indexOf("IT ")], kBoxOn);
    EXPECT_EQ(boxes[indexOf("XM ")], kBoxOn); // read in capitals
    boxes[indexOf("AS ")] = kBoxOn;
    EXPECT_EQ(listFromBoxes(boxes), ".IT .XM .AS ");
}

TEST(FileTypeBoxes, FixedTypeMissingFromTheListOpensOffAndUnknownEntriesDrop)
{
    const FileTypeBoxes boxes = boxesFromList(".WAV.OGG.MID");
    EXPECT_EQ(boxes[indexOf("MP3")], kBoxOff);
    EXPECT_EQ(boxes[indexOf("M3U")], kBoxOff);
    EXPECT_EQ(listFromBoxes(boxes), ".WAV.MID");
    for (const char* type : {"MP3", "WMA", "M3U"})
        EXPECT_TRUE(isFixedFileType(indexOf(type))) << type;
    EXPECT_FALSE(isFixedFileType(indexOf("WAV")));
    // An empty list ticks nothing; a malformed one is read four characters
    // at a time.
    EXPECT_EQ(listFromBoxes(boxesFromList("")), "");
    EXPECT_EQ(listFromBoxes(boxesFromList(".MPEG.MP3")), "");
}
