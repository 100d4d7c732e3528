#pragma once

#include <string>
#include <string_view>
#include <vector>

// Small text rules shared by every subsystem: lines, trimming, case, numbers
// typed by the user.
namespace zondari::text {

// Lines of a text file: CR LF or LF ends a line; a last line without an end
// still counts; nothing follows the last line end.
std::vector<std::string> splitLines(std::string_view text);

// Each line followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

std::string trimLeftSpaces(std::string_view s); // spaces only
std::string trimRightSpaces(std::string_view s); // spaces only
std::string trimSpaces(std::string_view s); // spaces only, both ends

std::string toUpperAscii(std::string_view s);
std::string toLowerAscii(std::string_view s);

// Case folding for every letter the system knows (UTF-8 in, UTF-8 out).
std::string toUpper(std::string_view s);
std::string toLower(std::string_view s);
// The same for one character: toUpper maps character by character.
char32_t upperChar(char32_t c);

// Where `needle` first occurs in `hay` at or after `from`, or npos. Made for
// searching megabytes of catalogue text: it looks for the needle's least
// common byte first, so a needle starting with a common letter costs little.
std::size_t findBytes(std::string_view hay, std::string_view needle, std::size_t from = 0);

// Sorts `texts` into the order of a sorted list box and of NTFS and CD
// directories: by the upper-cased text, then by the text itself so that the
// order is total.
void sortNoCase(std::vector<std::string>& texts);

// A number as the user typed it, read the way Visual Basic's Val reads it:
// leading spaces skipped, an optional sign, digits with "." as the decimal
// point and an optional exponent, as far as they go; 0 when there is none.
double val(std::string_view s);

// To the nearest whole number, halves to even. Values past the range of
// long long (infinities included) give its nearest end; NaN gives 0.
long long roundHalfEven(double v);

// Characters (code points) of UTF-8 text.
std::size_t charCount(std::string_view s);

// The characters of UTF-8 text, one string each.
std::vector<std::string> characters(std::string_view s);

// VB's Left/Mid on characters (code points), not bytes.
std::string leftChars(std::string_view s, std::size_t n);
std::string midChars(std::string_view s, std::size_t start0, std::size_t n);

bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);

} // namespace zondari::text
