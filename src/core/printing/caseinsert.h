#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/printing/surface.h"

// The CD case insert on one page: a square front panel (20, 20)-(141, 141)
// with the title and the entries in columns, and below it the tray inlay
// (20, 141)-(170, 259) with fold lines at x = 26 and x = 164, the entries
// that did not fit on the front, and the title written down both spines.
// Everything is in page millimetres; only font sizes follow the scale.
namespace zondari::printing {

inline constexpr const char* kFooterLine = "Creazione e stampa con Zondari - ";

// The longest the title may stack down a spine.
inline constexpr double kSpineLength = 118;

// What the insert lists: the catalogue's title and entries, in list order.
// An entry starting with "(" is a folder heading, printed as it is, in bold;
// any other is a path, printed as its lower-cased file name.
struct Listing {
    std::string title;
    std::vector<std::string> entries;
};

// The print font as the user chose it. Its name is the whole page's; its
// size is the title's and the entries'. The weight is the layout's alone:
// the title, the headings and the spines are bold, everything else regular.
// Italic, when chosen, is the whole page's: the layout never switches it
// off.
struct PrintFont {
    std::string name;
    double size = 8; // points at print scale
    bool italic = false;
};

struct InsertOutcome {
    bool frontOverflowed = false;
    std::size_t resumeIndex = 0; // the first entry on the back panel
    std::size_t leftOut = 0; // entries with text that fit on neither panel
};

// Left edge of column k, to the nearest millimetre (halves to even).
int frontColumnEdge(int columns, int k);
int backColumnEdge(int columns, int k);

// Where the white-out before column k starts: it erases what the earlier
// columns ran over into it.
double frontWhiteOut(int columns, int k);
double backWhiteOut(int columns, int k);

// Draws the whole insert. `scale` multiplies the font sizes only: 1 on the
// printer, the picture-to-page ratio in the preview. `columns` is taken as
// it is; fewer than two means one column per panel.
InsertOutcome DrawListing(Surface& target, const Listing& listing, const PrintFont& font, int columns, double scale);

// The line under the preview that tells how many entries the insert leaves
// out; empty when all fit.
std::string leftOutLine(std::size_t leftOut);

} // namespace zondari::printing
