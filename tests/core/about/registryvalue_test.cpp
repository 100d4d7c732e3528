#include <gtest/gtest.h>

#include "core/about/registryvalue.h"
#include "core/about/version.h"

using namespace zondari;
using namespace zondari::registry;

TEST(RegistryValue, AStringEndsAtItsFirstNulANumberGivesAllItsHexDigitsOtherTypesNoText)
{
    for (const auto& [bytes, text] : {std::pair{std::string("/usr/bin/hardinfo\0", 18), "/usr/bin/hardinfo"},
             {std::string("abc\0def\0", 8), "abc"}, {"senza fine", "senza fine"}, {"", ""}})
        EXPECT_EQ(valueText({REG_SZ, bytes}), text);
    // Zero bytes inside the number count.
    for (const auto& [number, text] : {std::pair{0x12ABu, "&h12AB"}, {0x00120034u, "&h120034"},
             {0x01000000u, "&h1000000"}, {0x0102u, "&h102"}, {0u, "&h0"}, {0xFFFFFFFFu, "&hFFFFFFFF"}})
        EXPECT_EQ(valueText(dwordValue(number)), text);
    EXPECT_EQ(valueText({REG_DWORD, std::string("\x34\x00\x12\x00", 4)}), "&h120034"); // least significant first
    EXPECT_FALSE(valueText({3, "\x01\x02"})); // binary
    EXPECT_FALSE(valueText({0, ""}));
    EXPECT_FALSE(valueText({11, std::string(8, '\x01')})); // 64-bit number
    EXPECT_EQ(versionLine("Zondari", 10, 0, 12), "Zondari - Versione 10.0.12");
}
