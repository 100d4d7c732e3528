#include "core/catalogue/cataloguelist.h"

#include <algorithm>

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
    // hold thousands of files, nearly always with plain ASCII names.
    std::vector<std::string> keys;
    keys.reserve(texts.size());
    for (const std::string& t : texts) {
        const bool ascii = std::all_of(t.begin(), t.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        keys.push_back(ascii ? text::toUpperAscii(t) : text::toUpper(t));
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

}  // namespace zondari::catalogue
