#include "core/shell/filetypes.h"

#include "core/common/text.h"

namespace zondari {

std::string extensionEntry(std::string_view fileName)
{
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    std::string entry = "." + text::toUpper(fileName.substr(dot + 1));
    if (entry.size() == 3)
        entry += ' ';
    return entry;
}

bool matchesFileTypes(std::string_view fileName, std::string_view list)
{
    const std::string entry = extensionEntry(fileName);
    if (entry.size() != 4)
        return false;
    for (std::size_t i = 0; i + 4 <= list.size(); i += 4)
        if (list.substr(i, 4) == entry)
            return true;
    return false;
}

} // namespace zondari
