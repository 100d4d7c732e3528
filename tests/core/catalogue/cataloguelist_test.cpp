#include <gtest/gtest.h>

#include "core/catalogue/cataloguelist.h"
#include "core/catalogue/entry.h"
#include "core/common/text.h"

using namespace zondari;
using namespace zondari::catalogue;

TEST(CatalogueEntry, FolderEntriesBeginWithAParenthesisAndTheNameFollowsTheLastSlashOfEitherKind)
{
    EXPECT_TRUE(isFolderEntry("(/media/cd/Rock)"));
    EXPECT_FALSE(isFolderEntry("/media/cd/Rock/a.mp3"));
    EXPECT_FALSE(isFolderEntry(""));
    for (const auto& [entry, name] :
        {std::pair{"/media/cd/Rock/brano.mp3", "brano.mp3"}, {"C:\\Musica\\Rock\\brano.mp3", "brano.mp3"},
            {"C:\\Musica/misto\\x.mp3", "x.mp3"}, {"brano.mp3", "brano.mp3"}, {"/media/cd/", ""}})
        EXPECT_EQ(fileNameOf(entry), name) << entry;
}

TEST(CatalogueList, ItemGivesTheNameBackWhateverTheTitleHolds)
{
    // (Items as listed and sorted: platform/cataloguestore_test.)
    for (const char* title : {"x \\ (y) \\ (z", ""})
        EXPECT_EQ(itemFileName(listItem("ZOND_A_B_1.txt", title)), "ZOND_A_B_1.txt") << title;
    EXPECT_EQ(itemFileName("ZOND_A_B_1.txt"), "ZOND_A_B_1.txt");
}

TEST(CatalogueList, HugeTitleIsShownByItsStart)
{
    EXPECT_EQ(shownTitle("Rock"), "Rock");
    const std::string huge(10 * 1024 * 1024, 'x');
    const std::string shown = shownTitle(huge);
    EXPECT_LT(shown.size(), 1000u);
    EXPECT_EQ(shown.rfind("xxxx", 0), 0u);
    std::string accents;
    for (int i = 0; i < 600; ++i)
        accents += "è";
    EXPECT_EQ(text::charCount(shownTitle(accents)), 501u); // 500 and the ellipsis, no half character
}
