#include <gtest/gtest.h>

#include "core/printing/fontchoice.h"

using namespace zondari::printing;

TEST(FontChoice, EachFamilyIsListedOnceByItsPlainName)
{
    const std::vector<std::string> reported{"DejaVu Sans", "Nimbus Sans [UKWN]", "Nimbus Sans [URW]",
                                            "dejavu sans", "Liberation Serif", "", "Fira [Code] [Mozilla]"};
    EXPECT_EQ(listedFamilies(reported),
              (std::vector<std::string>{"DejaVu Sans", "Nimbus Sans", "Liberation Serif", "Fira [Code]"}));
    EXPECT_EQ(fontCountCaption(listedFamilies({"Only One"}).size()), "N. 1 Fonts installati");
    EXPECT_EQ(fontCountCaption(0), "N. 0 Fonts installati");
}

TEST(FontChoice, InstalledMeansListedLetterCaseAsideAndTheFallbackIsArialOrItsClosest)
{
    const std::vector<std::string> families{"DejaVu Sans", "Liberation Sans"};
    EXPECT_TRUE(isInstalled("dejavu SANS", families));
    EXPECT_FALSE(isInstalled("Tahoma", families));
    EXPECT_FALSE(isInstalled("", families));
    EXPECT_EQ(fallbackFamily(families, "Liberation Sans"), "Liberation Sans");
    EXPECT_EQ(fallbackFamily({"Arial", "DejaVu Sans"}, "DejaVu Sans"), "Arial");
    // The system's stand-in is itself missing: the first listed family.
    EXPECT_EQ(fallbackFamily(families, "Helvetica"), "DejaVu Sans");
}

TEST(FontChoice, SampleShowsTheNameAndAFewLettersAndDigits)
{
    EXPECT_EQ(sampleText("Tahoma"), "Tahoma - aAbB 123 zZ");
}

TEST(FontChoice, SizeAboveTwentyFiveIsCappedAndBelowTwoOrNotANumberIsTwo)
{
    const SizeChoice thirty = chooseFontSize("30");
    EXPECT_TRUE(thirty.capped);
    EXPECT_EQ(thirty.size, 25);
    EXPECT_FALSE(chooseFontSize("25").capped);
    EXPECT_EQ(chooseFontSize("25").size, 25);
    EXPECT_EQ(chooseFontSize("1").size, 2);
    EXPECT_EQ(chooseFontSize("").size, 2);
    EXPECT_EQ(chooseFontSize("abc").size, 2);
    EXPECT_EQ(chooseFontSize("-4").size, 2);
    EXPECT_EQ(chooseFontSize("12.5pt").size, 12.5f);
    EXPECT_FALSE(chooseFontSize("12.5pt").capped);
}

TEST(FontChoice, ColumnsAreTakenAsTypedToTheNearestWholeNumber)
{
    EXPECT_EQ(*columnsAsTyped("9"), 9);
    EXPECT_EQ(*columnsAsTyped("2.5"), 2);
    EXPECT_EQ(*columnsAsTyped("3.5"), 4);
    EXPECT_EQ(*columnsAsTyped("tre"), 0);
    EXPECT_EQ(*columnsAsTyped("-1"), -1);
    EXPECT_EQ(*columnsAsTyped("32767"), 32767);
    const auto huge = columnsAsTyped("32767.5");
    ASSERT_FALSE(huge);
    EXPECT_EQ(huge.error().number, 6);
    EXPECT_FALSE(columnsAsTyped("1e300"));
    EXPECT_FALSE(columnsAsTyped("-40000"));
}
