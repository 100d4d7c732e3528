#pragma once

#include <string>
#include <string_view>
#include <vector>

// The catalogue file: line 1 the title, then one line per entry in catalogue
// order. No header, count or quoting; CR LF line ends; Windows-1252 when every
// character fits, else UTF-8 (files made on Windows read back unchanged).
namespace zondari::catalogue {

inline constexpr const char* kAnonymousTitle = "Anonimo";

struct Catalogue {
    std::string title;
    std::vector<std::string> entries;
};

// The bytes of the file. An entry holding a line break would come back as
// two entries, so it is left out; a title's line breaks become spaces.
std::string catalogueBytes(const Catalogue& catalogue);

// A catalogue from the bytes of its file (either encoding, CR LF or LF). An
// empty file gives an empty title and no entries.
Catalogue parseCatalogue(std::string_view bytes);

}  // namespace zondari::catalogue
