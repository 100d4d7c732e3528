#pragma once

#include <string>
#include <string_view>

#include "core/catalogue/catalogfile.h"
#include "core/common/result.h"

// The addresses the desktop hands the program: "zondari:riproduci?catalogo=
// <catalogue file name>&voce=<entry>", both percent-encoded byte by byte so
// that names that are not UTF-8 come through, and "file://" addresses of a
// local file or folder.
namespace zondari::catalogue {

inline constexpr std::string_view kAddressScheme = "zondari:";

// The address that plays `entry` of the catalogue file `catalogue`.
std::string playAddress(std::string_view catalogue, std::string_view entry);

// What an address asks for.
struct AddressRequest {
    bool play = false; // a catalogue entry: `catalogue` and `entry`; else the local `path`
    std::string catalogue, entry, path;
};

// The request an address makes, or why it is refused (in Italian, for the
// person who clicked it). Nothing on disk is looked at here.
Result<AddressRequest, std::string> parseAddress(std::string_view address);

// Why `name` cannot be a catalogue file of the program folder (a folder in
// it, "..", not a "ZOND_....txt" name); empty when it can.
std::string catalogueNameProblem(std::string_view name);

// Why `entry` is not a line of `catalogue` (the bytes of its file), byte for
// byte or as the program reads that line; empty when it is.
std::string entryProblem(std::string_view catalogueName, std::string_view catalogueBytes, std::string_view entry);

} // namespace zondari::catalogue
