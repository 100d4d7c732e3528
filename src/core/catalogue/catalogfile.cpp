#include "core/catalogue/catalogfile.h"

#include <algorithm>

#include "core/catalogue/entry.h"
#include "core/common/encoding.h"
#include "core/common/text.h"

namespace zondari::catalogue {

std::string catalogueBytes(const Catalogue& catalogue)
{
    std::size_t size = catalogue.title.size() + 2;
    for (const std::string& e : catalogue.entries)
        size += e.size() + 2;
    std::string text;
    text.reserve(size);
    for (char c : catalogue.title)
        text += (c == '\r' || c == '\n') ? ' ' : c;
    text += "\r\n";
    for (const std::string& e : catalogue.entries) {
        if (hasLineBreak(e) || entryTooLong(e))
            continue;
        text += e;
        text += "\r\n";
    }
    // Plain ASCII is the same in either encoding: a disc of 100,000 files
    // need not be looked at character by character.
    const bool ascii
        = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        return text;
    if (!encoding::isValidUtf8(text))
        return std::string(kRawNamesMark) + text;
    std::string bytes = encoding::encodeText(text);
    // A title whose first characters would read as the mark: U+FEFF goes
    // behind a mark of its own (the reader takes off just the one), and
    // "ï»¿" in Windows-1252 is written in UTF-8 instead.
    if (bytes.starts_with(kRawNamesMark))
        return bytes == text ? std::string(kRawNamesMark) + text : text;
    return bytes;
}

Catalogue parseCatalogue(std::string_view bytes)
{
    LineCoding coding = LineCoding::Utf8;
    if (bytes.starts_with(kRawNamesMark)) {
        bytes.remove_prefix(kRawNamesMark.size());
        coding = LineCoding::RawNames;
    } else if (!encoding::isValidUtf8(bytes)) {
        coding = LineCoding::Windows1252;
    }
    Catalogue c;
    bool first = true;
    forEachLine(bytes, [&](std::string_view line) {
        if (first) {
            c.title = decodeTitleLine(cutTitle(line), coding);
            first = false;
        } else if (std::string entry = decodeLine(line, coding); !entryTooLong(entry)) {
            c.entries.push_back(std::move(entry));
        }
    });
    return c;
}

bool entryTooLong(std::string_view entry)
{
    return entry.size() > kMaxPathBytes + (isFolderEntry(entry) ? 2 : 0);
}

std::string_view cutTitle(std::string_view line)
{
    if (line.size() <= kMaxTitleBytes)
        return line;
    // Back over the continuation bytes of a character the cut would split.
    std::size_t n = kMaxTitleBytes;
    while (n > kMaxTitleBytes - 3 && (static_cast<unsigned char>(line[n]) & 0xC0) == 0x80)
        --n;
    return line.substr(0, n);
}

std::string decodeLine(std::string_view line, LineCoding coding)
{
    if (coding == LineCoding::Windows1252)
        return encoding::cp1252ToUtf8(line);
    return std::string(line);
}

std::string decodeTitle(std::string_view line)
{
    return encoding::decodeText(line);
}

std::string decodeTitleLine(std::string_view line, LineCoding coding)
{
    return coding == LineCoding::RawNames ? decodeTitle(line) : decodeLine(line, coding);
}

std::string displayText(std::string_view entry)
{
    if (encoding::isValidUtf8(entry))
        return std::string(entry);
    std::string out;
    out.reserve(entry.size() + 8);
    for (std::size_t i = 0; i < entry.size();) {
        // The character that starts here, else one replacement character
        // for the byte that starts none.
        std::size_t take = static_cast<unsigned char>(entry[i]) < 0x80 ? 1 : 0;
        for (std::size_t k = 2; take == 0 && k <= 4 && i + k <= entry.size(); ++k)
            if (encoding::isValidUtf8(entry.substr(i, k)))
                take = k;
        if (take) {
            out.append(entry.substr(i, take));
            i += take;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

} // namespace zondari::catalogue
