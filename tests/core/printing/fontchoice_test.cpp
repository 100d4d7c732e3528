#include <gtest/gtest.h>

#include "core/printing/fontchoice.h"

using namespace zondari::printing;

TEST(FontChoice, FamiliesAreListedOnceByTheirPlainNamesAndTheFallbackIsInstalled)
{
    EXPECT_EQ(listedFamilies({"DejaVu Sans", "Nimbus Sans [UKWN]", "Nimbus Sans [URW]", "dejavu sans", ""}),
        (std::vector<std::string>{"DejaVu Sans", "Nimbus Sans"}));
    EXPECT_EQ(fontCountCaption(1), "N. 1 Fonts installati");
    const std::vector<std::string> families{"DejaVu Sans", "Liberation Sans"};
    EXPECT_TRUE(isInstalled("dejavu SANS", families));
    EXPECT_FALSE(isInstalled("Tahoma", families));
    EXPECT_EQ(fallbackFamily(families, "Liberation Sans"), "Liberation Sans");
    EXPECT_EQ(fallbackFamily({"Arial", "DejaVu Sans"}, "DejaVu Sans"), "Arial");
    EXPECT_EQ(fallbackFamily(families, "Helvetica"), "DejaVu Sans");
}

TEST(FontChoice, SizesAndColumnsAsTyped)
{
    EXPECT_TRUE(chooseFontSize("30").capped);
    EXPECT_EQ(chooseFontSize("30").size, 25);
    EXPECT_EQ(chooseFontSize("12.5pt").size, 12.5f);
    EXPECT_EQ(chooseFontSize("1").size, 2);
    EXPECT_EQ(chooseFontSize("").size, 2);
    EXPECT_EQ(*columnsAsTyped("9"), 9);
    EXPECT_EQ(*columnsAsTyped("2.5"), 2);
    EXPECT_EQ(*columnsAsTyped("-1"), -1);
    ASSERT_FALSE(columnsAsTyped("32767.5"));
    EXPECT_EQ(columnsAsTyped("1e300").error().number, 6);
}
