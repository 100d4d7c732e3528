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
        if (hasLineBreak(e))
            continue;
        text += e;
        text += "\r\n";
    }
    // Plain ASCII is the same in either encoding: a disc of 100,000 files
    // need not be looked at character by character.
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? text : encoding::encodeText(text);
}

Catalogue parseCatalogue(std::string_view bytes)
{
    std::vector<std::string> lines = text::splitLines(encoding::decodeText(bytes));
    Catalogue c;
    if (lines.empty())
        return c;
    c.title = std::move(lines.front());
    c.entries.assign(std::make_move_iterator(lines.begin() + 1), std::make_move_iterator(lines.end()));
    return c;
}

}  // namespace zondari::catalogue
