#pragma once

#include <cstddef>
#include <vector>

#include "core/printing/caseinsert.h"
#include "core/printing/surface.h"

// "Adatta": the layout of the insert that lists the whole catalogue.
namespace zondari::printing {

// Sizes are tried in half points: the finest step a size box shows, and at
// 8 points already a sixteenth of a line, so a finer one would only seldom
// fit one more entry.
inline constexpr double kFitStep = 0.5;

// Below this the names grow hard to read on the insert: the search for a
// layout that fits goes no smaller.
inline constexpr double kSmallestFitSize = 6;

inline constexpr int kFewestColumns = 2;
inline constexpr int kMostColumns = 7;

struct FitChoice {
    double size = 8; // points at print scale
    int columns = kFewestColumns;
    std::size_t leftOut = 0; // what even the smallest layout leaves out
};

// The sizes tried, largest first: the chosen one, then each half point
// below it down to 6, never above 25 but for the chosen one itself. A
// chosen size below 6 is the only one.
std::vector<double> fitSizes(double chosen);

// Among the layouts of `fitSizes(font.size)` and 2 to 7 columns that leave
// no entry out, the one whose columns show the most characters of the
// entries: a name is cut where its column's white-out covers it, so fewer,
// wider columns or a smaller size show more of each name. Of layouts that
// show as much, the larger size, then the fewer columns. When none fits,
// the smallest size with the columns that leave the fewest out (the fewest
// columns among equals), and how many that is.
//
// Measured on `target` as DrawListing measures, at the same `scale`, with
// the rule DrawListing fills its columns by; the line height of a one-line
// text is taken not to depend on its characters, as on every surface of the
// program, and a line's width to be the sum of its characters' own. Leaves
// the target's font as it found it only in its name: the drawing sets the
// rest again.
FitChoice fitInsert(Surface& target, const Listing& listing, const PrintFont& font, double scale);

} // namespace zondari::printing
