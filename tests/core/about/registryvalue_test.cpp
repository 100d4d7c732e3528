#include <gtest/gtest.h>

#include "core/about/registryvalue.h"
#include "core/about/version.h"

using namespace zondari;
using namespace zondari::registry;

TEST(RegistryValue, AStringEndsAtItsFirstNul)
{
    EXPECT_EQ(valueText({REG_SZ, std::string("/usr/bin/hardinfo\0", 18)}), "/usr/bin/hardinfo");
    EXPECT_EQ(valueText({REG_SZ, std::string("abc\0def\0", 8)}), "abc");
    EXPECT_EQ(valueText({REG_SZ, "senza fine"}), "senza fine");
    EXPECT_EQ(valueText({REG_SZ, ""}), "");
}

TEST(RegistryValue, ANumberGivesAllItsHexadecimalDigits)
{
    EXPECT_EQ(valueText(dwordValue(0x12AB)), "&h12AB");
    // Zero bytes inside the number count.
    EXPECT_EQ(valueText(dwordValue(0x00120034)), "&h120034");
    EXPECT_EQ(valueText(dwordValue(0x01000000)), "&h1000000");
    EXPECT_EQ(valueText(dwordValue(0x0102)), "&h102");
    EXPECT_EQ(valueText(dwordValue(0)), "&h0");
    EXPECT_EQ(valueText(dwordValue(0xFFFFFFFF)), "&hFFFFFFFF");
    // Stored least significant byte first.
    EXPECT_EQ(valueText({REG_DWORD, std::string("\x34\x00\x12\x00", 4)}), "&h120034");
}

TEST(RegistryValue, OtherTypesAreNotReadAsText)
{
    EXPECT_FALSE(valueText({3, "\x01\x02"})); // binary
    EXPECT_FALSE(valueText({0, ""}));
    EXPECT_FALSE(valueText({11, std::string(8, '\x01')})); // 64-bit number
}

TEST(VersionLine, TitleThenTheThreeNumbers)
{
    EXPECT_EQ(versionLine("Zondari", 2, 1, 0), "Zondari - Versione 2.1.0");
    EXPECT_EQ(versionLine("Zondari", 10, 0, 12), "Zondari - Versione 10.0.12");
}
