#include <gtest/gtest.h>

#include "core/catalogue/filename.h"

using namespace zondari::catalogue;

TEST(CatalogueName, SanitiserTurnsSeparatorsAndPointsIntoDashesInPlace)
{
    std::string path = "C:\\Musica\\Rock";
    EXPECT_EQ(&sanitiseName(path), &path);
    EXPECT_EQ(path, "C--Musica-Rock");
    std::string linux = "/home/anna/Musica/v1.2 (live)";
    EXPECT_EQ(sanitiseName(linux), "-home-anna-Musica-v1-2 (live)");
}

TEST(CatalogueName, VolumeRootHasNoFolderPartAnyOtherFolderHasItsPath)
{
    EXPECT_EQ(folderPart("/media/cd", true), "");
    EXPECT_EQ(folderPart("/", true), "");
    EXPECT_EQ(folderPart("/media/cd/Rock", false), "-media-cd-Rock");
    // A short path is no root on its own: only the volume tells.
    EXPECT_EQ(folderPart("/cd", false), "-cd");
}

TEST(CatalogueName, NameJoinsUserLabelSignedSerialAndFolderPart)
{
    EXPECT_EQ(catalogueFileName("DEFAULT", "ROCK80", 439041101u, ""), "ZOND_DEFAULT_ROCK80_439041101.txt");
    EXPECT_EQ(catalogueFileName("DEFAULT", "", 0, "C--Musica-Rock"), "ZOND_DEFAULT__0C--Musica-Rock.txt");
    // A serial with its top bit set is written negative.
    EXPECT_EQ(serialText(0xDEADBEEFu), "-559038737");
    EXPECT_EQ(catalogueFileName("Anna", "DATI", 0x80000000u, "-x"), "ZOND_Anna_DATI_-2147483648-x.txt");
    // A "/" would put the file into another folder.
    EXPECT_EQ(catalogueFileName("a/b", "AC/DC", 1, ""), "ZOND_a-b_AC-DC_1.txt");
}

TEST(CatalogueName, TooLongNameIsShortenedTheSameWayEachTimeAndStaysDistinct)
{
    std::string deep(4000, 'x');
    std::string deepOther = deep;
    deepOther.back() = 'y';
    const std::string a = catalogueFileName("DEFAULT", "", 0, deep);
    const std::string b = catalogueFileName("DEFAULT", "", 0, deepOther);
    EXPECT_LE(a.size(), 255u);
    EXPECT_EQ(a.rfind("ZOND_DEFAULT__0xxxx", 0), 0u);
    EXPECT_EQ(a.substr(a.size() - 4), ".txt");
    EXPECT_NE(a, b);
    EXPECT_EQ(a, catalogueFileName("DEFAULT", "", 0, deep));

    // Multi-byte characters are not cut in half.
    std::string japanese;
    for (int i = 0; i < 200; ++i)
        japanese += "音";
    const std::string j = catalogueFileName("DEFAULT", "", 0, japanese);
    EXPECT_LE(j.size(), 255u);
    const std::size_t tilde = j.rfind('~');
    ASSERT_NE(tilde, std::string::npos);
    EXPECT_EQ((tilde - std::string("ZOND_DEFAULT__0").size()) % 3, 0u);

    // A name that fits is left alone, up to the last byte.
    const std::string fits(255 - std::string("ZOND_U_L_1.txt").size(), 'z');
    EXPECT_EQ(catalogueFileName("U", "L", 1, fits).size(), 255u);
    EXPECT_EQ(catalogueFileName("U", "L", 1, fits).find('~'), std::string::npos);
}

TEST(CatalogueName, CataloguesOfAUserAreTheirsAlone)
{
    EXPECT_TRUE(isCatalogueOf("ZOND_DEFAULT_ROCK80_1.txt", "DEFAULT"));
    EXPECT_TRUE(isCatalogueOf("zond_default_x_1.TXT", "DEFAULT"));
    EXPECT_FALSE(isCatalogueOf("ZOND_Annalisa_X_1.txt", "Anna"));
    EXPECT_FALSE(isCatalogueOf("ZOND_DEFAULT_X_1.txt.bak", "DEFAULT"));
    EXPECT_FALSE(isCatalogueOf("ZOND_Luca_X_1.txt", "DEFAULT"));
}
