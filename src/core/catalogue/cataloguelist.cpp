#include "core/catalogue/cataloguelist.h"

#include "core/common/text.h"

namespace zondari::catalogue {

std::string listItem(std::string_view fileName, std::string_view title)
{
    std::string item(fileName);
    item += kItemSeparator;
    item += title;
    item += ')';
    return item;
}

std::string itemFileName(std::string_view item)
{
    return std::string(item.substr(0, item.find(kItemSeparator)));
}

std::string shownTitle(std::string_view title)
{
    constexpr std::size_t kMaxChars = 500;
    if (title.size() <= kMaxChars)
        return std::string(title);
    return text::leftChars(title, kMaxChars) + "…";
}

std::string countLine(std::size_t count)
{
    return "N. " + std::to_string(count) + " già catalogati";
}

} // namespace zondari::catalogue
