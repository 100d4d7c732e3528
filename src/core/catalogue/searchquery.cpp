#include "core/catalogue/searchquery.h"

#include <array>
#include <optional>

#include "core/common/text.h"

namespace zondari::catalogue {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A whole number of `min` to `max` digits; nothing when `s` is not one.
std::optional<long> digits(std::string_view s, std::size_t min, std::size_t max)
{
    if (s.size() < min || s.size() > max)
        return std::nullopt;
    long n = 0;
    for (char c : s) {
        if (!isDigit(c))
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// "S", "M:SS" or "H:MM:SS" in seconds.
std::optional<long> duration(std::string_view s)
{
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const std::size_t colon = s.find(':', from);
        parts.push_back(s.substr(from, colon == std::string_view::npos ? colon : colon - from));
        if (colon == std::string_view::npos)
            break;
        from = colon + 1;
    }
    const auto sixty = [](std::string_view p) {
        auto n = digits(p, 2, 2);
        return n && *n < 60 ? n : std::nullopt;
    };
    if (parts.size() == 1)
        return digits(parts[0], 1, 5);
    if (parts.size() == 2) {
        const auto m = digits(parts[0], 1, 5), sec = sixty(parts[1]);
        return m && sec ? std::optional<long>(*m * 60 + *sec) : std::nullopt;
    }
    if (parts.size() == 3) {
        const auto h = digits(parts[0], 1, 3), m = sixty(parts[1]), sec = sixty(parts[2]);
        return h && m && sec ? std::optional<long>(*h * 3600 + *m * 60 + *sec) : std::nullopt;
    }
    return std::nullopt;
}

bool startsWithNoCase(std::string_view s, std::string_view key)
{
    return s.size() >= key.size() && text::toUpperAscii(s.substr(0, key.size())) == text::toUpperAscii(key);
}

struct TextKey {
    std::string_view name;
    FieldFilter::Kind kind;
    std::string TrackData::*tag;
};
constexpr std::array<TextKey, 5> kTextKeys = {{{"autore:", FieldFilter::Kind::Holds, &TrackData::artist},
    {"titolo:", FieldFilter::Kind::Holds, &TrackData::title}, {"album:", FieldFilter::Kind::Holds, &TrackData::album},
    {"genere:", FieldFilter::Kind::Holds, &TrackData::genre}, {"anno:", FieldFilter::Kind::Equals, &TrackData::year}}};
struct NumberKey {
    std::string_view name;
    FieldFilter::Kind kind;
    std::int32_t TrackData::*number;
};
constexpr std::array<NumberKey, 4> kNumberKeys = {{{"kbps<", FieldFilter::Kind::Below, &TrackData::kbps},
    {"kbps>", FieldFilter::Kind::Above, &TrackData::kbps}, {"durata<", FieldFilter::Kind::Below, &TrackData::seconds},
    {"durata>", FieldFilter::Kind::Above, &TrackData::seconds}}};

// The filter that starts `text` at `at`, and where it ends; nothing when
// the token there is no filter.
std::optional<std::pair<FieldFilter, std::size_t>> filterAt(std::string_view text, std::size_t at)
{
    const std::string_view s = text.substr(at);
    std::size_t plainEnd = 0;
    while (plainEnd < s.size() && !isBlank(s[plainEnd]))
        ++plainEnd;
    for (const TextKey& k : kTextKeys) {
        if (!startsWithNoCase(s, k.name))
            continue;
        std::string_view v = s.substr(k.name.size(), plainEnd - k.name.size());
        std::size_t end = plainEnd;
        if (v.starts_with('"')) {
            // Quoted: up to the closing quote, which ends the token.
            const std::size_t close = s.find('"', k.name.size() + 1);
            if (close == std::string_view::npos || (close + 1 < s.size() && !isBlank(s[close + 1])))
                return std::nullopt;
            v = s.substr(k.name.size() + 1, close - k.name.size() - 1);
            end = close + 1;
        }
        if (v.empty())
            return std::nullopt;
        return std::pair{FieldFilter{k.kind, k.tag, std::string(v), nullptr, 0}, at + end};
    }
    for (const NumberKey& k : kNumberKeys) {
        if (!startsWithNoCase(s, k.name))
            continue;
        const std::string_view v = s.substr(k.name.size(), plainEnd - k.name.size());
        const auto n = k.number == &TrackData::kbps ? digits(v, 1, 6) : duration(v);
        if (!n)
            return std::nullopt;
        return std::pair{FieldFilter{k.kind, nullptr, {}, k.number, *n}, at + plainEnd};
    }
    return std::nullopt;
}

// Whether the tag `field` holds the filter's text as the filter means it.
bool textHolds(const FieldFilter& f, const std::string& field, bool caseSensitive)
{
    if (field.empty())
        return false;
    const std::string hay = caseSensitive ? field : text::toUpper(field);
    const std::string needle = caseSensitive ? f.text : text::toUpper(f.text);
    return f.kind == FieldFilter::Kind::Equals ? hay == needle : hay.find(needle) != std::string::npos;
}

} // namespace

SearchQuery parseSearchQuery(std::string_view text)
{
    SearchQuery q;
    std::string rest;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            rest += text[i++];
            continue;
        }
        if (auto f = filterAt(text, i)) {
            q.filters.push_back(std::move(f->first));
            i = f->second;
            while (i < text.size() && isBlank(text[i]))
                ++i;
            continue;
        }
        while (i < text.size() && !isBlank(text[i]))
            rest += text[i++];
    }
    if (!q.hasFilters()) {
        q.rest = std::string(text);
        return q;
    }
    const std::size_t first = rest.find_first_not_of(" \t");
    q.rest = first == std::string::npos ? std::string() : rest.substr(first, rest.find_last_not_of(" \t") + 1 - first);
    return q;
}

bool passesFilters(const std::vector<FieldFilter>& filters, const TrackData* row, bool caseSensitive)
{
    if (filters.empty())
        return true;
    if (!row || !row->audio)
        return false;
    for (const FieldFilter& f : filters) {
        const bool holds = f.tag                 ? textHolds(f, row->*f.tag, caseSensitive)
            : f.kind == FieldFilter::Kind::Below ? row->*f.number < f.limit
                                                 : row->*f.number > f.limit;
        if (!holds)
            return false;
    }
    return true;
}

SearchLength searchLength(std::string_view text)
{
    const SearchQuery q = parseSearchQuery(text);
    const std::size_t n = text::charCount(q.rest);
    if (n == 1)
        return SearchLength::Short;
    if (n == 0 && !q.hasFilters())
        return SearchLength::Empty;
    return SearchLength::Enough;
}

} // namespace zondari::catalogue
