// (The folder part of a scanned folder's name, at a volume's root and below
// it: cli/catalogue_cli_test, platform/cataloguestore_test.)

#include <gtest/gtest.h>

#include "core/catalogue/filename.h"

using namespace zondari::catalogue;

TEST(CatalogueName, NameJoinsUserLabelSignedSerialAndFolderPart)
{
    EXPECT_EQ(folderPart("/m/v1.2 C:\\x", false), "-m-v1-2 C--x");
    EXPECT_EQ(catalogueFileName("DEFAULT", "", 0, "C--Musica-Rock"), "ZOND_DEFAULT__0C--Musica-Rock.txt");
    // A serial with its top bit set is written negative.
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
