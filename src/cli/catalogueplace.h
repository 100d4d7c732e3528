#pragma once

#include <string>

namespace zondari::cli {

// Where the catalogues of the command line are: the program folder and the
// user name of its settings, as the program finds them.
struct CataloguePlace {
    std::string programFolder;
    std::string user;
};

// False, with the reason on standard error, when the program folder or its
// settings cannot be read.
bool locateCatalogues(CataloguePlace& place);

} // namespace zondari::cli
