#include <gtest/gtest.h>

#include "core/catalogue/scanrules.h"

using namespace zondari::catalogue;

TEST(ScanRules, ColumnsAreHeldBetweenTwoAndSeven)
{
    struct Case {
        const char* typed;
        int value;
        bool corrected;
    };
    for (const Case& c : std::initializer_list<Case>{{"3", 3, false}, {"2", 2, false}, {"7", 7, false},
             {" 5", 5, false}, {"4abc", 4, false}, {"12", 7, true}, {"9", 7, true}, {"8", 7, true}, {"7.5", 7, true},
             {"1e300", 7, true}, {"1", 2, true}, {"abc", 2, true}, {"-3", 2, true}, {"", 2, true}, {"1.4", 2, true},
             {"1.5", 2, false}, {"6.5", 6, false}, {"-1e300", 2, true}}) {
        const Columns got = clampColumns(c.typed);
        EXPECT_EQ(got.value, c.value) << '"' << c.typed << '"';
        EXPECT_EQ(got.corrected, c.corrected) << '"' << c.typed << '"';
    }
}

TEST(ScanRules, TitleTakesPlainCharactersOnly)
{
    for (char32_t c : {U'a', U'Z', U'0', U' ', U'-', U'_', U'!', U'~', U'\b', char32_t(7), char32_t(127)})
        EXPECT_TRUE(acceptsTitleChar(c)) << static_cast<int>(c);
    for (char32_t c : {U'\\', U'/', U':', U'.', U',', U'(', U')', U'$', U'è', U'音', char32_t(6), char32_t(128)})
        EXPECT_FALSE(acceptsTitleChar(c)) << static_cast<int>(c);
    EXPECT_EQ(filterTitle("Rock: anni '80 (live), è $1.5/2"), "Rock anni '80 live  152");
}
