#include "core/catalogue/folding.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "core/common/encoding.h"
#include "core/common/text.h"

namespace zondari::catalogue {

void decodeCp1252Into(std::string_view bytes, std::string& out)
{
    struct Utf8 {
        char bytes[3];
        unsigned char size;
    };
    static const auto upperHalf = [] {
        std::array<Utf8, 128> t{};
        for (int b = 0x80; b < 0x100; ++b) {
            const char byte = static_cast<char>(b);
            const std::string u = encoding::cp1252ToUtf8(std::string_view(&byte, 1));
            auto& e = t[static_cast<std::size_t>(b - 0x80)];
            e.size = static_cast<unsigned char>(u.size());
            std::memcpy(e.bytes, u.data(), u.size());
        }
        return t;
    }();
    out.resize(3 * bytes.size());
    char* o = out.data();
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            *o++ = ch;
        } else {
            const Utf8& e = upperHalf[c - 0x80];
            std::memcpy(o, e.bytes, 3);
            o += e.size;
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

namespace {

// Upper cases of the characters U+0080..U+07FF (two bytes in UTF-8), where
// the accented letters of most scripts lie, looked up rather than asked of
// the C library one at a time.
const std::array<char32_t, 0x800>& twoByteUpper()
{
    static const auto table = [] {
        std::array<char32_t, 0x800> t{};
        for (char32_t cp = 0; cp < t.size(); ++cp) {
            std::string one;
            encoding::appendUtf8(one, cp);
            const std::u32string up = encoding::toUtf32(text::toUpper(one));
            t[cp] = up.size() == 1 ? up[0] : cp;
        }
        return t;
    }();
    return table;
}

} // namespace

Fold foldUtf8(std::string_view text, std::string& out)
{
    const std::size_t n = text.size();
    out.resize(n);
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    // Eight letters at a time: in each byte below 0x80, a..z lose their
    // 0x20 bit; bytes from 0x80 up stay as they are.
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x80 * kOnes;
    std::uint64_t seen = 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, in + i, 8);
        seen |= w;
        const std::uint64_t low7 = w & ~kHigh;
        const std::uint64_t fromA = low7 + (0x80 - 'a') * kOnes; // high bit: byte >= 'a'
        const std::uint64_t pastZ = low7 + (0x7F - 'z') * kOnes; // high bit: byte > 'z'
        const std::uint64_t lower = (fromA ^ pastZ) & ~w & kHigh;
        w ^= lower >> 2;
        std::memcpy(o + i, &w, 8);
    }
    for (; i < n; ++i) {
        const unsigned char c = in[i];
        seen |= c;
        o[i] = static_cast<unsigned char>(c - 'a') < 26 ? static_cast<unsigned char>(c - 32) : c;
    }
    if (!(seen & kHigh))
        return Fold::Aligned;

    const auto& table = twoByteUpper();
    i = 0;
    while (i < n) {
        // Skip ASCII eight bytes at a time.
        while (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, in + i, 8);
            if (word & 0x8080808080808080ull)
                break;
            i += 8;
        }
        while (i < n && in[i] < 0x80)
            ++i;
        if (i >= n)
            break;
        const unsigned char b0 = in[i];
        if ((b0 & 0xE0) == 0xC0 && i + 1 < n && (in[i + 1] & 0xC0) == 0x80) {
            const char32_t cp = (char32_t(b0 & 0x1F) << 6) | (in[i + 1] & 0x3F);
            if (cp < 0x80)
                return Fold::Invalid; // overlong
            const char32_t up = table[cp];
            if (up < 0x80 || up >= 0x800)
                return Fold::Shifted;
            o[i] = static_cast<unsigned char>(0xC0 | (up >> 6));
            o[i + 1] = static_cast<unsigned char>(0x80 | (up & 0x3F));
            i += 2;
            continue;
        }
        std::size_t len = (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || i + len > n)
            return Fold::Invalid;
        const std::string_view seq = text.substr(i, len);
        if (!encoding::isValidUtf8(seq))
            return Fold::Invalid;
        const std::string up = text::toUpper(seq);
        if (up.size() != len)
            return Fold::Shifted;
        std::memcpy(o + i, up.data(), len);
        i += len;
    }
    return Fold::Aligned;
}

bool upperCaseInto(std::string_view text, std::string& out)
{
    if (foldUtf8(text, out) == Fold::Aligned)
        return true;
    out = text::toUpper(text);
    return false;
}

} // namespace zondari::catalogue
