#pragma once

#include <string>

#include "core/printing/caseinsert.h"

// The text bands of the insert's two panels and the rule that fills their
// columns: shared by the drawing and by the search for a layout that fits,
// so that "fits" there means "nothing left out" here.
namespace zondari::printing {

// Where a band's columns start and end, where each column's left edge and
// the white-out before it are, how far down the white-outs reach, and where
// the white-out after the last column cuts it.
struct Band {
    double top, bottom;
    int firstEdge;
    int (*edge)(int columns, int k);
    double (*whiteOut)(int columns, int k);
    double whiteTop, whiteBottom;
    double lastCut;
};
inline constexpr Band kFrontBand{21, 140, 21, frontColumnEdge, frontWhiteOut, 20, 141, 140};
inline constexpr Band kBackBand{142, 259, 27, backColumnEdge, backWhiteOut, 141, 259, 163};

// The left edge of column k.
inline int columnEdge(const Band& band, int columns, int k)
{
    // The first edge is not worked out: a count of 0 typed into the box
    // would make it 0 / 0.
    return k == 0 ? band.firstEdge : band.edge(columns, k);
}

// How much of column k shows: from its left edge to where the next
// column's white-out, or the one after the last column, covers it.
inline double shownWidth(const Band& band, int columns, int k)
{
    const double cut = k + 1 < columns ? band.whiteOut(columns, k + 1) : band.lastCut;
    return cut - columnEdge(band, columns, k);
}

// The line an entry prints: a folder heading as it is, a path as its
// lower-cased file name; empty for an empty entry.
std::string printedLine(const std::string& entry);

// The text whose height, in the entries' regular font, decides whether one
// more line fits in a column.
inline constexpr const char* kLineTest = "J";

// A column is full when the next line, starting at `y`, would pass the
// band's bottom.
inline bool columnFull(const Band& band, double y, double lineTest)
{
    return y + lineTest > band.bottom;
}

} // namespace zondari::printing
