#include <gtest/gtest.h>

#include "core/tags/id3v1.h"
#include "core/tags/tageditor.h"

using namespace zondari;

namespace {

TagRecord sample()
{
    TagRecord t;
    t.Title = "Abc";
    t.Artist = "Artista";
    t.Album = "Album";
    t.Year = "1999";
    t.Comment = "commento";
    t.GenreByte = 17;
    return t;
}

} // namespace

TEST(Id3v1Record, FieldsStandAtTheirOffsetsPaddedWithSpacesATrackNumberAfterANul)
{
    const auto pad = [](std::string s, std::size_t n) { return s.append(n - s.size(), ' '); };
    EXPECT_EQ(id3v1::encode(sample()),
        "TAG" + pad("Abc", 30) + pad("Artista", 30) + pad("Album", 30) + "1999" + pad("commento", 29) + '\0' + '\x11');
    // A track number keeps the NUL that other players look for.
    TagRecord t = sample();
    t.TrackByte = 7;
    const std::string withTrack = id3v1::encode(t);
    EXPECT_EQ(withTrack[125], '\0');
    EXPECT_EQ(withTrack[126], '\x07');

    t.Comment = std::string(29, 'c'); // a full comment leaves no room
    EXPECT_EQ(id3v1::encode(t)[125], 'c');
}

TEST(Id3v1Record, LongTextIsCutAndOtherScriptsBecomeQuestionMarks)
{
    TagRecord t;
    t.Title = std::string(35, 'x');
    t.Artist = "Caffè Ω";
    t.Year = "19999";
    const std::string bytes = id3v1::encode(t);
    EXPECT_EQ(bytes.substr(3, 37), std::string(30, 'x') + "Caff\xE8 ?");
    EXPECT_EQ(bytes.substr(93, 4) + bytes.substr(127), "1999\xFF");
}

TEST(Id3v1Record, ReadsBackWhatItWroteAndTheMarkerMustBeExact)
{
    const std::string bytes = id3v1::encode(sample());
    const auto back = id3v1::decode(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(id3v1::fieldText(back->Title), "Abc");
    EXPECT_EQ(back->GenreByte, 17);

    const std::string lower = "tag" + bytes.substr(3);
    EXPECT_FALSE(id3v1::decode(lower).has_value());
    EXPECT_TRUE(id3v1::decode(lower, true).has_value());
    EXPECT_FALSE(id3v1::decode(bytes.substr(1)).has_value());
}

TEST(EditorSave, KeepsTheFilesTrackAndUnnamedGenre)
{
    tageditor::Fields shown{"T", "A", "B", "2001", "C", -1};
    TagRecord inFile = sample();
    inFile.TrackByte = 9;
    inFile.GenreByte = 200;

    TagRecord saved = tageditor::toSave(shown, inFile);
    EXPECT_EQ(saved.Title, "T");
    EXPECT_EQ(saved.TrackByte, 9);
    EXPECT_EQ(saved.GenreByte, 200);
    // Loaded, a byte past the list (of 126 names) selects no genre.
    for (const std::uint8_t unnamed : {126, 200, 255}) {
        inFile.GenreByte = unnamed;
        EXPECT_EQ(tageditor::fromTag(inFile).genre, -1) << int(unnamed);
    }

    shown.genre = 3;
    EXPECT_EQ(tageditor::toSave(shown, inFile).GenreByte, 3);

    shown.genre = -1;
    TagRecord fresh = tageditor::toSave(shown, std::nullopt);
    EXPECT_EQ(fresh.TrackByte, 0);
    EXPECT_EQ(fresh.GenreByte, 255);
}
