#include "core/printing/insertfit.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/catalogue/entry.h"
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

// Where the columns of `band` stop taking the entries from `first`: the
// same walk as the drawing's, without the drawing. The first entry there
// is no room for, or the number of entries.
std::size_t flow(
    const Band& band, double y, int columns, const std::vector<std::string>& entries, std::size_t first, const Lines& m)
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
        y += catalogue::isFolderEntry(e) ? m.heading : m.entry;
    }
    return entries.size();
}

// The first entry that neither panel takes.
std::size_t layoutStop(const Listing& listing, int columns, const Lines& m)
{
    const std::size_t front = flow(kFrontBand, kFrontBand.top + m.title, columns, listing.entries, 0, m);
    if (front == listing.entries.size())
        return front;
    return flow(kBackBand, kBackBand.top, columns, listing.entries, front, m);
}

std::size_t entriesWithText(const std::vector<std::string>& entries, std::size_t from)
{
    return static_cast<std::size_t>(std::count_if(entries.begin() + static_cast<std::ptrdiff_t>(from), entries.end(),
        [](const std::string& e) { return !e.empty(); }));
}

} // namespace

std::vector<double> fitSizes(double chosen)
{
    std::vector<double> sizes{chosen};
    if (!std::isfinite(chosen))
        return sizes;
    double next = std::floor(std::min(chosen, kLargestFontSize) / kFitStep) * kFitStep;
    if (next >= chosen)
        next -= kFitStep;
    for (; next >= kSmallestFontSize; next -= kFitStep)
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
    for (double size : sizes) {
        const Lines m = measure(target, listing, font, size, scale);
        for (int columns = kFewestColumns; columns <= kMostColumns; ++columns)
            if (layoutStop(listing, columns, m) >= needed)
                return {size, columns, 0};
    }
    // Nothing fits: the smallest size, and the columns that hold the most.
    FitChoice best{sizes.back(), kFewestColumns, listing.entries.size() + 1};
    const Lines m = measure(target, listing, font, best.size, scale);
    for (int columns = kFewestColumns; columns <= kMostColumns; ++columns) {
        const std::size_t leftOut = entriesWithText(listing.entries, layoutStop(listing, columns, m));
        if (leftOut < best.leftOut) {
            best.columns = columns;
            best.leftOut = leftOut;
        }
    }
    return best;
}

} // namespace zondari::printing
