#include "core/catalogue/cataloguelist.h"

#include <algorithm>
#include <utility>

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

void sortLikeListBox(std::vector<std::string>& texts)
{
    // Each key is folded once, not once per comparison: a folder of a CD may
    // hold thousands of files.
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(texts.size());
    for (std::string& t : texts) {
        std::string key = text::toUpper(t);
        keyed.emplace_back(std::move(key), std::move(t));
    }
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i < keyed.size(); ++i)
        texts[i] = std::move(keyed[i].second);
}

}  // namespace zondari::catalogue
