#include <algorithm>
#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

#include "core/common/encoding.h"
#include "core/common/text.h"

using namespace zondari::encoding;
using namespace zondari::text;
using Lines = std::vector<std::string>;

TEST(Encoding, WindowsBytesReadAsTheirCharacters)
{
    // "Città – €5’" as the Windows program writes it.
    const std::string bytes = "Citt\xE0 \x96 \x80"
                              "5\x92";
    EXPECT_FALSE(isValidUtf8(bytes));
    EXPECT_EQ(decodeText(bytes), "Città – €5’");
}

// (What does not fit Windows-1252 becomes one "?" a character in an ID3v1
// tag: id3v1_test, and zondari-cli's copy of an ID3v2 tag.)
TEST(Encoding, WritesSingleByteWhenEveryCharacterFitsElseUtf8AndReadsItBack)
{
    EXPECT_EQ(encodeText("Città €"), "Citt\xE0 \x80");
    EXPECT_EQ(encodeText("日本 è"), "日本 è");
    // "Ã©" in single bytes would be valid UTF-8 for "é": it must not turn into it.
    for (const std::string s : {"Ã©", "è", "plain", "日本", "Ÿ‰ž", "Ã© and 日本", ""})
        EXPECT_EQ(decodeText(encodeText(s)), s) << s;
}

TEST(Encoding, InvalidSequencesAreNotUtf8)
{
    // Cut short, an overlong "/", a surrogate.
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x8E\xB5")); // a note, four bytes
}

TEST(Lines, CrLfAndLfBothEndALineAndLinesAreWrittenWithCrLf)
{
    EXPECT_EQ(splitLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(splitLines("\r\n"), Lines{""});
    // A lone CR is part of the line.
    EXPECT_EQ(splitLines("a\rb\n"), Lines{"a\rb"});
    EXPECT_EQ(joinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(Val, ReadsTheLeadingNumberAndRoundsHalvesToEvenWithinLongLong)
{
    for (const auto& [typed, value] : {std::pair{"12", 12.0}, {"abc", 0}, {"-3", -3}, {"", 0}, {"  2.5 colonne", 2.5},
             {"1e3", 1000}, {"3 4", 34}, {"7,5", 7}, {".", 0}})
        EXPECT_EQ(val(typed), value) << typed;
    constexpr long long most = std::numeric_limits<long long>::max(), least = std::numeric_limits<long long>::min();
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (const auto& [x, rounded] : {std::pair{2.5, 2LL}, {3.5, 4}, {-2.5, -2}, {6.6, 7}, {153.125, 153},
             {7.7e54, most}, {9223372036854775808.0, most}, {inf, most}, {-7.7e54, least}, {-inf, least},
             {-9223372036854775808.0, least}, {std::nan(""), 0}, {9007199254740993.0, 9007199254740992LL}})
        EXPECT_EQ(roundHalfEven(x), rounded) << x;
    EXPECT_EQ(roundHalfEven(val("77e53")), most); // a typed number that large reads as the largest
}

TEST(Case, FoldsEveryLetterAndSortsAsAListBoxSorts)
{
    EXPECT_EQ(toUpper("città è"), "CITTÀ È");
    EXPECT_EQ(toLower("CITTÀ È"), "città è");
    EXPECT_EQ(toUpper("abc.mp3"), "ABC.MP3");
    std::vector<std::string> v{"b", "a", "C", "A", "è", "E"};
    sortNoCase(v);
    EXPECT_EQ(v, (std::vector<std::string>{"A", "a", "b", "C", "E", "è"}));
}

TEST(Case, FoldingIgnoresTheLocaleTheProgramRunsIn)
{
    // Qt sets the user's locale at start; a plain "C" one knows no letter
    // past ASCII, and folding must not follow it.
    const std::string before = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(toUpper("àèéìòù ñ ß ПРИВЕТ привет"), "ÀÈÉÌÒÙ Ñ ß ПРИВЕТ ПРИВЕТ");
    EXPECT_EQ(toLower("ÀÈ ΣΊΣΥΦΟΣ"), "àè σίσυφοσ");
    std::setlocale(LC_ALL, before.c_str());
}

TEST(FindBytes, FindsWhatStringViewFindFinds)
{
    const std::string hay = "ERROS ROSSO\\AMORE MIO\r\nAMORE.MP3 ZANZIBAR\xC3\x88";
    for (const char* needle : {"AMORE", "ROSSO", "ZANZIBAR", "\xC3\x88", "R", "3 Z", "MIO\r\nA", "ASSENTE", ""})
        for (std::size_t from = 0; from <= hay.size() + 1; ++from)
            EXPECT_EQ(findBytes(hay, needle, from), std::string_view(hay).find(needle, from)) << needle << " " << from;

    // Small alphabets make many near misses and overlapping hits.
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string h(random() % 60, 'A'), n(1 + random() % 5, 'A');
        for (char& c : h)
            c = "AB E"[random() % 4];
        for (char& c : n)
            c = "AB E"[random() % 4];
        const std::size_t from = random() % (h.size() + 2);
        ASSERT_EQ(findBytes(h, n, from), std::string_view(h).find(n, from)) << h << " / " << n << " / " << from;
    }
}

TEST(Chars, CountAndCutCharactersNotBytesAndTrimSpacesOnly)
{
    EXPECT_EQ(charCount("città"), 5u);
    EXPECT_EQ(leftChars("città", 5), "città");
    EXPECT_EQ(leftChars("città", 4), "citt");
    EXPECT_EQ(midChars("日本の歌", 1, 2), "本の");
    EXPECT_EQ(midChars("abc", 5, 2), "");
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
    EXPECT_EQ(trimRightSpaces("a\t "), "a\t");
    EXPECT_EQ(trimLeftSpaces("   "), "");
}
