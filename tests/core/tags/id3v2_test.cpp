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

// (Text Windows-1252 lacks, a name cut by characters, a date's year, and
// the save of what is shown: ui/tags/frmmain_test, read back by eyeD3.)
TEST(Id3v2Copy, ALongCommentIsCutAsTheEditorTakesIt)
{
    Id3v2Tag tag;
    tag.version = 4;
    tag.comment = std::string(35, 'c');
    EXPECT_EQ(id3v2::toEditorFields(tag).comment, std::string(29, 'c'));
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
