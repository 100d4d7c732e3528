#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Byte builders for ID3v2 tags of each version, text encoding and fault,
// so that the reader's tests name exactly the bytes they feed it.
namespace zondari::test::id3v2bytes {

// The text encodings of ID3v2 but UTF-16 (TagLib's own to read; the peers'
// files in the command line's tests hold it).
enum Encoding : char { Latin1 = 0, Utf8 = 3 };

// `n` as four 7-bit bytes, most significant first.
inline std::string syncsafe(std::uint32_t n)
{
    return {char((n >> 21) & 0x7F), char((n >> 14) & 0x7F), char((n >> 7) & 0x7F), char(n & 0x7F)};
}

inline std::string bigEndian(std::uint32_t n, int bytes)
{
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += char((n >> (8 * i)) & 0xFF);
    return out;
}

// UTF-8 text in the bytes of `encoding` (Latin-1: code points below 0x100).
inline std::string encode(const std::string& utf8, Encoding encoding)
{
    if (encoding == Utf8)
        return utf8;
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        out += c < 0x80 ? char(c) : char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    }
    return out;
}

struct Tag {
    int major = 3;
    std::uint8_t flags = 0;
    std::vector<std::string> frames;
    std::size_t padding = 0;

    // A frame of the tag's version: its header and `body`. `id` is 3
    // characters for 2.2, 4 for the others. `sizeField`, when set, is
    // written instead of the body's length.
    Tag& frame(const std::string& id, const std::string& body, long sizeField = -1)
    {
        const auto size = static_cast<std::uint32_t>(sizeField >= 0 ? sizeField : long(body.size()));
        std::string f = id;
        if (major == 2)
            f += bigEndian(size, 3);
        else
            f += (major == 4 ? syncsafe(size) : bigEndian(size, 4)) + std::string(2, '\0');
        frames.push_back(f + body);
        return *this;
    }
    Tag& text(const std::string& id, const std::string& utf8, Encoding e = Latin1)
    {
        return frame(id, std::string(1, char(e)) + encode(utf8, e));
    }
    Tag& comment(const std::string& description, const std::string& utf8, Encoding e = Latin1)
    {
        return frame(major == 2 ? "COM" : "COMM",
            std::string(1, char(e)) + "ita" + encode(description, e) + '\0' + encode(utf8, e));
    }

    std::string body() const
    {
        std::string b;
        for (const std::string& f : frames)
            b += f;
        return b + std::string(padding, '\0');
    }
    // Header and body; `sizeBytes`, when given, replaces the four size bytes.
    std::string bytes(const std::string& sizeBytes = {}) const
    {
        std::string b = body();
        if (flags & 0x80) {
            // Unsynchronisation: a 0x00 after every 0xFF.
            std::string u;
            for (char c : b) {
                u += c;
                if (c == '\xFF')
                    u += '\0';
            }
            b = u;
        }
        return "ID3" + std::string{char(major), '\0', char(flags)}
        + (sizeBytes.empty() ? syncsafe(static_cast<std::uint32_t>(b.size())) : sizeBytes) + b;
    }
};

// Something that stands for audio after the tag: a few frames' worth of
// bytes that are no tag.
inline std::string audioAfter()
{
    return std::string(4096, '\x55');
}

} // namespace zondari::test::id3v2bytes
