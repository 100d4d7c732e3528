#include "core/printing/insertfit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "core/catalogue/entry.h"
#include "core/common/text.h"
#include "core/printing/fontchoice.h"
#include "core/printing/insertbands.h"

namespace zondari::printing {
namespace {

// The heights the drawing moves down by at one size, in page millimetres.
struct Lines {
    double title; // bold and underlined
    double test; // the column-full test
    double entry; // a file name
    double heading; // a bold folder heading
};

Lines measure(Surface& s, const Listing& listing, const PrintFont& font, double size, double scale)
{
    // As DrawListing sets the font: the size scaled, the title bold and
    // underlined, the entries regular but for the bold headings.
    Lines m{};
    s.setFontName(font.name);
    s.setFontItalic(font.italic);
    s.setFontSize(size * scale);
    s.setFontBold(true);
    s.setFontUnderline(true);
    m.title = s.textHeight(listing.title);
    s.setFontUnderline(false);
    m.heading = s.textHeight(kLineTest);
    s.setFontBold(false);
    m.test = s.textHeight(kLineTest);
    m.entry = m.test;
    return m;
}

// The drawing's walk down the columns of `band` with the entries from
// `first`, without the drawing: `onLine(i, k)` for each entry i that takes
// a line, in column k. Gives the first entry there is no room for, or the
// number of entries.
template <typename OnLine>
std::size_t flow(const Band& band, double y, int columns, const std::vector<std::string>& entries, std::size_t first,
    const Lines& m, OnLine&& onLine)
{
    int k = 0;
    for (std::size_t i = first; i < entries.size(); ++i) {
        if (columnFull(band, y, m.test)) {
            if (++k >= columns)
                return i;
            y = band.top;
        }
        const std::string& e = entries[i];
        if (e.empty())
            continue; // takes no line
        onLine(i, k);
        y += catalogue::isFolderEntry(e) ? m.heading : m.entry;
    }
    return entries.size();
}

// The same over both panels, `onLine(i, band, k)` for each line; the first
// entry that neither panel takes.
template <typename OnLine> std::size_t layoutStop(const Listing& listing, int columns, const Lines& m, OnLine&& onLine)
{
    const auto& entries = listing.entries;
    const std::size_t front = flow(kFrontBand, kFrontBand.top + m.title, columns, entries, 0, m,
        [&](std::size_t i, int k) { onLine(i, kFrontBand, k); });
    if (front == entries.size())
        return front;
    return flow(
        kBackBand, kBackBand.top, columns, entries, front, m, [&](std::size_t i, int k) { onLine(i, kBackBand, k); });
}

std::size_t layoutStop(const Listing& listing, int columns, const Lines& m)
{
    return layoutStop(listing, columns, m, [](std::size_t, const Band&, int) {});
}

std::size_t entriesWithText(const std::vector<std::string>& entries, std::size_t from)
{
    return static_cast<std::size_t>(std::count_if(entries.begin() + static_cast<std::ptrdiff_t>(from), entries.end(),
        [](const std::string& e) { return !e.empty(); }));
}

// The printed lines of the entries, each held as its characters' places in
// a table of the distinct characters (with the face each is printed in):
// a size is then measured once a character, not once a line.
class PrintedCharacters {
public:
    explicit PrintedCharacters(const std::vector<std::string>& entries)
    {
        std::map<std::pair<std::string, bool>, std::uint32_t> places;
        starts_.reserve(entries.size() + 1);
        for (const std::string& e : entries) {
            starts_.push_back(chars_.size());
            const bool bold = catalogue::isFolderEntry(e);
            for (std::string& c : text::characters(printedLine(e))) {
                const auto [at, added] = places.try_emplace({std::move(c), bold}, table_.size());
                if (added)
                    table_.push_back(at->first);
                chars_.push_back(at->second);
            }
        }
        starts_.push_back(chars_.size());
    }

    // The characters' widths in the target's font at its current size.
    void measure(Surface& s)
    {
        widths_.clear();
        for (const auto& [c, bold] : table_) {
            s.setFontBold(bold);
            widths_.push_back(s.textWidth(c));
        }
        s.setFontBold(false);
    }

    // How many characters of entry i show in a column `width` wide: those
    // that end before its white-out.
    std::size_t shown(std::size_t i, double width) const
    {
        double x = 0;
        std::size_t n = 0;
        for (std::size_t j = starts_[i]; j < starts_[i + 1]; ++j, ++n) {
            x += widths_[chars_[j]];
            if (x > width)
                break;
        }
        return n;
    }

    std::size_t total() const { return chars_.size(); }

private:
    std::vector<std::pair<std::string, bool>> table_;
    std::vector<double> widths_;
    std::vector<std::uint32_t> chars_; // each line's characters, one line after the other
    std::vector<std::size_t> starts_; // where each entry's line starts in chars_
};

} // namespace

std::vector<double> fitSizes(double chosen)
{
    std::vector<double> sizes{chosen};
    if (!std::isfinite(chosen))
        return sizes;
    double next = std::floor(std::min(chosen, kLargestFontSize) / kFitStep) * kFitStep;
    if (next >= chosen)
        next -= kFitStep;
    for (; next >= kSmallestFitSize; next -= kFitStep)
        sizes.push_back(next);
    return sizes;
}

FitChoice fitInsert(Surface& target, const Listing& listing, const PrintFont& font, double scale)
{
    // Empty entries after the last with text are never printed: a layout
    // that stops among them leaves nothing out.
    const auto& entries = listing.entries;
    const auto lastText
        = std::find_if(entries.rbegin(), entries.rend(), [](const std::string& e) { return !e.empty(); });
    const auto needed = static_cast<std::size_t>(entries.rend() - lastText);
    const std::vector<double> sizes = fitSizes(font.size);
    // Made when a first layout fits, which only a catalogue that the insert
    // can hold reaches: never for one of thousands of entries.
    std::optional<PrintedCharacters> printed;
    std::optional<FitChoice> best;
    std::size_t bestShown = 0;
    for (double size : sizes) {
        const Lines m = measure(target, listing, font, size, scale);
        // At one size more columns are only narrower: the fewest that fit
        // show the most.
        int columns = kFewestColumns;
        while (columns <= kMostColumns && layoutStop(listing, columns, m) < needed)
            ++columns;
        if (columns > kMostColumns)
            continue;
        if (!printed)
            printed.emplace(entries);
        printed->measure(target);
        std::size_t shown = 0;
        layoutStop(listing, columns, m,
            [&](std::size_t i, const Band& band, int k) { shown += printed->shown(i, shownWidth(band, columns, k)); });
        // Sizes come largest first: a smaller one must show more to win.
        if (!best || shown > bestShown) {
            best = FitChoice{size, columns, 0};
            bestShown = shown;
        }
        if (bestShown == printed->total())
            break; // every name whole: no smaller size shows more
    }
    if (best)
        return *best;
    // Nothing fits: the smallest size, and the columns that hold the most.
    FitChoice fallback{sizes.back(), kFewestColumns, entries.size() + 1};
    const Lines m = measure(target, listing, font, fallback.size, scale);
    for (int columns = kFewestColumns; columns <= kMostColumns; ++columns) {
        const std::size_t leftOut = entriesWithText(entries, layoutStop(listing, columns, m));
        if (leftOut < fallback.leftOut) {
            fallback.columns = columns;
            fallback.leftOut = leftOut;
        }
    }
    return fallback;
}

} // namespace zondari::printing
