#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/sidefile.h"

// Field filters in a search text: "autore:Battiato kbps>192 durata<4:00
// live" looks for "live" among the entries whose data says that much. The
// search dialog, zondari-cli search and the pocket page read a text alike,
// so that they give the same hits.
namespace zondari::catalogue {

// One filter: a tag that holds or equals a text, or a number below or
// above a limit.
struct FieldFilter {
    enum class Kind { Holds, Equals, Below, Above };
    Kind kind;
    std::string TrackData::*tag = nullptr; // Holds, Equals
    std::string text;
    std::int32_t TrackData::*number = nullptr; // Below, Above: kbps or seconds
    long limit = 0;
};

// A search text taken apart: the filters it holds, and the rest, which is
// matched against the entries as a text without filters is.
struct SearchQuery {
    std::string rest;
    std::vector<FieldFilter> filters;
    bool hasFilters() const { return !filters.empty(); }
};

// A token is a filter only when it is one whole: "autore:" with nothing
// after it, "kbps<abc" or "durata>1:5" stay text. Without filters the rest
// is the text as typed; with them, the text without each filter and the
// blanks after it, trimmed.
SearchQuery parseSearchQuery(std::string_view text);

// Whether every filter holds for an entry with `row` (none: an entry
// without data, which no filter lets through). Text filters compare as the
// search does: upper-cased unless `caseSensitive`.
bool passesFilters(const std::vector<FieldFilter>& filters, const TrackData* row, bool caseSensitive);

// How a typed search text stands: nothing to look for, too short (one
// character, or a rest of one beside filters), or enough. Filters alone
// are enough.
enum class SearchLength { Empty, Short, Enough };
SearchLength searchLength(std::string_view text);

} // namespace zondari::catalogue
