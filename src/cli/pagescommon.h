#pragma once

#include <string>

#include "core/catalogue/pages.h"

namespace zondari::cli {

// The program folder and the user whose catalogues the pages are made of.
struct PageSetup {
    std::string folder;
    std::string utente;
};

// Finds the program folder as the program does and reads the user from its
// settings; false (after saying why) when there is no program folder.
bool loadPageSetup(PageSetup& setup);

// The general database page or a search page: writes it, prints its path.
// 0 when written (with at least one hit for a search), 1 when there is no
// catalogue, no hit or a failure.
int writeDatabasePage(const catalogue::PageRequest& request);

// A failure as the command line tells it.
int failWith(const std::string& description);

}  // namespace zondari::cli
