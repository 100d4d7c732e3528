#include "core/catalogue/catalogfile.h"

#include "core/catalogue/entry.h"
#include "core/common/encoding.h"
#include "core/common/text.h"

namespace zondari::catalogue {

std::vector<std::string> catalogueLines(const Catalogue& catalogue)
{
    std::vector<std::string> lines;
    lines.reserve(catalogue.entries.size() + 1);
    std::string title = catalogue.title;
    for (char& c : title)
        if (c == '\r' || c == '\n')
            c = ' ';
    lines.push_back(std::move(title));
    for (const std::string& e : catalogue.entries)
        if (!hasLineBreak(e))
            lines.push_back(e);
    return lines;
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
