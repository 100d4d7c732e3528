#include <gtest/gtest.h>

#include "core/tags/id3v1.h"
#include "core/tags/id3v2.h"

using namespace zondari;

TEST(Id3v2Genre, NumbersAndReferencesTakeTheDetailsWindowsNames)
{
    const struct {
        const char* text;
        const char* name;
        int number;
    } cases[] = {
        {"17", "Rock", 17},
        {"(17)", "Rock", 17},
        {" (7) ", "Hip -Hop", 7},
        {"(4)Eurodisco", "Eurodisco", 4},
        {"(RX)", "Remix", -1},
        {"(CR)", "Cover", -1},
        {"Musica leggera", "Musica leggera", -1},
        {"(da camera)", "(da camera)", -1},
        {"(1)((Nuovo))", "(Nuovo))", 1},
        {"147", "Synthpop", 147},
        {"200", "", 200},
        {"255", "", 255},
        {"1000", "1000", -1},
        {"", "", -1},
    };
    for (const auto& c : cases) {
        const auto g = id3v2::genreFromText(c.text);
        EXPECT_EQ(g.name, c.name) << c.text;
        EXPECT_EQ(g.number, c.number) << c.text;
    }
}

TEST(Id3v2Copy, EachFieldAsId3v1CanHoldIt)
{
    Id3v2Tag tag;
    tag.version = 4;
    tag.title = "Песня ñ èé€"; // Cyrillic has no place in Windows-1252; ñ, è, é and € do
    tag.artist = std::string(40, 'a');
    tag.album = "ÀÈÌÒÙ" + std::string(30, 'b'); // cut by characters, not by UTF-8 bytes
    tag.year = "2004-05-01";
    tag.comment = std::string(35, 'c');
    const auto f = id3v2::toEditorFields(tag);
    EXPECT_EQ(f.title, "????? ñ èé€");
    EXPECT_EQ(f.artist, std::string(30, 'a'));
    EXPECT_EQ(f.album, "ÀÈÌÒÙ" + std::string(25, 'b'));
    EXPECT_EQ(f.year, "2004");
    EXPECT_EQ(f.comment, std::string(29, 'c'));

    // What the editor saves from them is what it showed.
    TagRecord saved = tageditor::toSave(f, std::nullopt);
    const auto back = id3v1::decode(id3v1::encode(saved));
    ASSERT_TRUE(back);
    EXPECT_EQ(id3v1::fieldText(back->Title), "????? ñ èé€");
    EXPECT_EQ(id3v1::fieldText(back->Album), f.album);
}

TEST(Id3v2Copy, GenreGoesToTheEditorsListOrNowhere)
{
    Id3v2Tag tag;
    tag.version = 3;
    const struct {
        const char* name;
        int number;
        int selected;
    } cases[] = {
        {"Rock", 17, 17},
        {"Dance Hall", 125, 125},
        {"Goa", 126, -1}, // the editor's list ends at 125
        {"", 200, -1},
        {"Hip-Hop", -1, 7},
        {"hip -hop", -1, 7}, // either spelling, any case
        {"R&B", -1, 14},
        {"A Cappella", -1, 123},
        {"Acapella", -1, 123},
        {"Musica leggera", -1, -1},
        {"", -1, -1},
    };
    for (const auto& c : cases) {
        tag.genre = c.name;
        tag.genreNumber = c.number;
        EXPECT_EQ(id3v2::toEditorFields(tag).genre, c.selected) << c.name << " " << c.number;
    }
}
