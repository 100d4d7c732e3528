#pragma once

#include <string>
#include <string_view>

// Fast decoding and upper-casing of whole catalogues for the search, which
// goes through every line of every catalogue.
namespace zondari::catalogue {

// Windows-1252 bytes as UTF-8 into `out`, whose memory is reused.
void decodeCp1252Into(std::string_view bytes, std::string& out);

enum class Fold {
    Aligned, // `out` is the upper case, byte for byte where `text` is
    Shifted, // some letter's upper case has another length: `out` is not finished
    Invalid, // `text` is not UTF-8: `out` is not finished
};

// Upper-cases `text` into `out`, the way text::toUpper does, byte for byte
// where it can. ASCII goes in a loop the compiler vectorises; the letters
// beyond ASCII are then mended in place. Aligned also means `text` is UTF-8.
Fold foldUtf8(std::string_view text, std::string& out);

// Upper-cases UTF-8 text into `out` (replacing its contents), the way
// text::toUpper does, fast for long texts. Returns false when some letter's
// upper case has another length in bytes, so that positions in `out` no
// longer match positions in `text` (`out` is still the upper-cased text).
bool upperCaseInto(std::string_view text, std::string& out);

} // namespace zondari::catalogue
