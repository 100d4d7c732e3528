#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The catalogue list: one item per catalogue file of the user, sorted.
namespace zondari::catalogue {

inline constexpr std::string_view kItemSeparator = " \\ (";

// "ZOND_DEFAULT_ROCK80_439041101.txt \ (Rock anni 80)"
std::string listItem(std::string_view fileName, std::string_view title);

// The catalogue file name of an item: the text before the first " \ (",
// so a title holding " \ (" does not change it. An item without one is a
// name alone.
std::string itemFileName(std::string_view item);

// A title as the list and the title label show it: a damaged file may hold
// megabytes on its first line, which no label can show; the start is
// enough to know it by.
std::string shownTitle(std::string_view title);

// "N. 3 già catalogati"
std::string countLine(std::size_t count);

} // namespace zondari::catalogue
