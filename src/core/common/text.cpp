#include "core/common/text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale>
#include <stdexcept>

#include "core/common/encoding.h"

namespace zondari::text {
namespace {

// Case mapping must not depend on the locale the program was started in, so
// it uses the C.UTF-8 locale's tables, whatever the global locale is.
const std::ctype<wchar_t>& utf8Case()
{
    static const std::locale loc = [] {
        try {
            return std::locale("C.UTF-8");
        } catch (const std::runtime_error&) {
            return std::locale::classic();
        }
    }();
    static const auto& facet = std::use_facet<std::ctype<wchar_t>>(loc);
    return facet;
}

// How common a byte is in file and folder names, 0 for rare: letters by
// their frequency in Italian and English, then digits, spaces and the
// separators of paths and names.
constexpr std::array<unsigned char, 256> kCommonness = [] {
    std::array<unsigned char, 256> rank{};
    const char* byFrequency = "EAIOTNRSLCDUMPHGBVFYWKZQJX";
    for (int i = 0; byFrequency[i]; ++i) {
        const auto c = static_cast<unsigned char>(byFrequency[i]);
        rank[c] = rank[c + 32] = static_cast<unsigned char>(200 - 6 * i);
    }
    for (unsigned char c = '0'; c <= '9'; ++c)
        rank[c] = 150;
    for (unsigned char c : {' ', '.', '\\', '/', '_', '-', '\r', '\n'})
        rank[c] = 210;
    return rank;
}();

template <class Map> std::string mapChars(std::string_view s, Map map)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += static_cast<char>(map(b));
            continue;
        }
        // Rare path: the rest of the text character by character.
        for (char32_t cp : encoding::toUtf32(s.substr(i)))
            encoding::appendUtf8(out, map(cp));
        break;
    }
    return out;
}

char32_t lowerChar(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return static_cast<char32_t>(utf8Case().tolower(static_cast<wchar_t>(c)));
}

std::size_t byteOffsetOfChar(std::string_view s, std::size_t chars)
{
    std::size_t i = 0;
    while (i < s.size() && chars > 0) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            ++i;
        --chars;
    }
    return i;
}

} // namespace

char32_t upperChar(char32_t c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 32 : c;
    return static_cast<char32_t>(utf8Case().toupper(static_cast<wchar_t>(c)));
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        lines.emplace_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::size_t size = 0;
    for (const auto& l : lines)
        size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::string trimLeftSpaces(std::string_view s)
{
    const auto p = s.find_first_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(s.substr(p));
}

std::string trimRightSpaces(std::string_view s)
{
    const auto p = s.find_last_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(s.substr(0, p + 1));
}

std::string trimSpaces(std::string_view s)
{
    return trimRightSpaces(trimLeftSpaces(s));
}

std::string toUpperAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return out;
}

std::string toLowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

std::string toUpper(std::string_view s)
{
    return mapChars(s, upperChar);
}

std::string toLower(std::string_view s)
{
    return mapChars(s, lowerChar);
}

std::size_t findBytes(std::string_view hay, std::string_view needle, std::size_t from)
{
    if (from > hay.size() || needle.size() > hay.size() - from)
        return std::string_view::npos;
    if (needle.empty())
        return from;
    std::size_t rare = 0;
    for (std::size_t i = 1; i < needle.size(); ++i)
        if (kCommonness[static_cast<unsigned char>(needle[i])] < kCommonness[static_cast<unsigned char>(needle[rare])])
            rare = i;
    // Candidates are the places of the rare byte; each is checked whole.
    const char* const begin = hay.data();
    const char* p = begin + from + rare;
    const char* const last = begin + hay.size() - (needle.size() - rare); // last place the rare byte can be
    while (p <= last) {
        p = static_cast<const char*>(std::memchr(p, needle[rare], static_cast<std::size_t>(last - p) + 1));
        if (!p)
            break;
        const char* start = p - rare;
        if (std::memcmp(start, needle.data(), needle.size()) == 0)
            return static_cast<std::size_t>(start - begin);
        ++p;
    }
    return std::string_view::npos;
}

void sortNoCase(std::vector<std::string>& texts)
{
    // Each key is folded once, not once per comparison: a folder of a CD may
    // hold thousands of files, nearly always with plain ASCII names.
    std::vector<std::string> keys;
    keys.reserve(texts.size());
    for (const std::string& t : texts) {
        const bool ascii = std::all_of(t.begin(), t.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        keys.push_back(ascii ? toUpperAscii(t) : toUpper(t));
    }
    std::vector<std::size_t> order(texts.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (const int c = keys[a].compare(keys[b]); c != 0)
            return c < 0;
        return texts[a] < texts[b];
    });
    std::vector<std::string> sorted;
    sorted.reserve(texts.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(texts[i]));
    texts = std::move(sorted);
}

double val(std::string_view s)
{
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r'))
            ++i;
    };
    skipBlanks();
    std::string num;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        num += s[i++];
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            num += c;
            digits = true;
        } else if (c == '.' && !point) {
            num += c;
            point = true;
        } else if (c == ' ' || c == '\t') {
            continue; // Val ignores blanks inside the number
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::string exp = "e";
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exp += s[j++];
        bool expDigits = false;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            exp += s[j++];
            expDigits = true;
        }
        if (expDigits)
            num += exp;
    }
    return std::strtod(num.c_str(), nullptr);
}

long long roundHalfEven(double v)
{
    if (std::isnan(v))
        return 0;
    // A double past the range of long long has no conversion (it is
    // undefined): such values take the nearest end of the range.
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    if (v >= kLimit)
        return std::numeric_limits<long long>::max();
    if (v < -kLimit)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(std::nearbyint(v)); // default mode: to nearest, ties to even
}

std::size_t charCount(std::string_view s)
{
    std::size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

std::vector<std::string> characters(std::string_view s)
{
    std::vector<std::string> out;
    for (char c : s) {
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80 && !out.empty())
            out.back() += c;
        else
            out.emplace_back(1, c);
    }
    return out;
}

std::string leftChars(std::string_view s, std::size_t n)
{
    return std::string(s.substr(0, byteOffsetOfChar(s, n)));
}

std::string midChars(std::string_view s, std::size_t start0, std::size_t n)
{
    const std::size_t b = byteOffsetOfChar(s, start0);
    const std::string_view rest = s.substr(b);
    return std::string(rest.substr(0, byteOffsetOfChar(rest, n)));
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

} // namespace zondari::text
