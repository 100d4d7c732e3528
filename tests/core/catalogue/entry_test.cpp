#include <gtest/gtest.h>

#include "core/catalogue/entry.h"

using namespace zondari::catalogue;

TEST(CatalogueEntry, FolderEntriesBeginWithAParenthesis)
{
    EXPECT_TRUE(isFolderEntry("(/media/cd/Rock)"));
    EXPECT_FALSE(isFolderEntry("/media/cd/Rock/a.mp3"));
    EXPECT_FALSE(isFolderEntry(""));
}

TEST(CatalogueEntry, FileNameIsThePartAfterTheLastSlashOfEitherKind)
{
    EXPECT_EQ(fileNameOf("/media/cd/Rock/brano.mp3"), "brano.mp3");
    EXPECT_EQ(fileNameOf("C:\\Musica\\Rock\\brano.mp3"), "brano.mp3");
    EXPECT_EQ(fileNameOf("C:\\Musica/misto\\x.mp3"), "x.mp3");
    EXPECT_EQ(fileNameOf("brano.mp3"), "brano.mp3");
    EXPECT_EQ(fileNameOf("/media/cd/"), "");
}
