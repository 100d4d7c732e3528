#include "core/catalogue/filename.h"

#include <cstdio>

#include "core/common/text.h"

namespace zondari::catalogue {
namespace {

constexpr std::size_t kMaxNameBytes = 255;

std::string withoutSlashes(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c == '/' || c == '\0')
            c = '-';
    return out;
}

std::uint32_t fnv1a(std::string_view text)
{
    std::uint32_t h = 2166136261u;
    for (unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

// The longest start of `text` of at most `bytes` bytes that does not cut a
// UTF-8 character.
std::string_view headOf(std::string_view text, std::size_t bytes)
{
    if (text.size() <= bytes)
        return text;
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80)
        --bytes;
    return text.substr(0, bytes);
}

} // namespace

std::string& sanitiseName(std::string& text)
{
    for (char& c : text)
        if (c == '/' || c == '\\' || c == '.' || c == ':')
            c = '-';
    return text;
}

std::string folderPart(std::string_view path, bool isVolumeRoot)
{
    if (isVolumeRoot)
        return {};
    std::string part(path);
    return sanitiseName(part);
}

std::string serialText(std::uint32_t serial)
{
    return std::to_string(static_cast<std::int32_t>(serial));
}

std::string userPrefix(std::string_view user)
{
    return kPrefix + withoutSlashes(user) + "_";
}

std::string catalogueFileName(
    std::string_view user, std::string_view label, std::uint32_t serial, std::string_view folderPart)
{
    const std::string head = userPrefix(user) + withoutSlashes(label) + "_" + serialText(serial);
    std::string name = head + std::string(folderPart) + kExtension;
    if (name.size() <= kMaxNameBytes)
        return name;
    char hash[16];
    std::snprintf(hash, sizeof hash, "~%08x", static_cast<unsigned>(fnv1a(folderPart)));
    const std::size_t fixed = head.size() + std::char_traits<char>::length(kExtension) + 9;
    const std::size_t room = fixed < kMaxNameBytes ? kMaxNameBytes - fixed : 0;
    return head + std::string(headOf(folderPart, room)) + hash + kExtension;
}

bool isCatalogueOf(std::string_view fileName, std::string_view user)
{
    const std::string name = text::toUpper(fileName);
    return text::startsWith(name, text::toUpper(userPrefix(user))) && text::endsWith(name, ".TXT");
}

} // namespace zondari::catalogue
