#include <gtest/gtest.h>

#include "core/common/encoding.h"

using namespace zondari::encoding;

TEST(Encoding, WindowsBytesReadAsTheirCharacters)
{
    // "Città – €5’" as the Windows program writes it.
    const std::string bytes = "Citt\xE0 \x96 \x80" "5\x92";
    EXPECT_FALSE(isValidUtf8(bytes));
    EXPECT_EQ(decodeText(bytes), "Città – €5’");
}

TEST(Encoding, WritesSingleByteWhenEveryCharacterFitsElseUtf8AndReadsItBack)
{
    EXPECT_EQ(encodeText("Città €"), "Citt\xE0 \x80");
    EXPECT_EQ(encodeText("日本 è"), "日本 è");
    // "Ã©" in single bytes would be valid UTF-8 for "é": it must not turn into it.
    for (const std::string s : {"Ã©", "è", "plain", "日本", "Ÿ‰ž", "Ã© and 日本", ""})
        EXPECT_EQ(decodeText(encodeText(s)), s) << s;
}

TEST(Encoding, LossyConversionMarksWhatDoesNotFit)
{
    EXPECT_EQ(utf8ToCp1252Lossy("Caffè 日本"), "Caff\xE8 ??");
    EXPECT_FALSE(utf8ToCp1252("日").has_value());
}

TEST(Encoding, InvalidSequencesAreNotUtf8)
{
    EXPECT_FALSE(isValidUtf8("\xC3"));           // cut short
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));       // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));   // surrogate
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x8E\xB5")); // a note, four bytes
}
