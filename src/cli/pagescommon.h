#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/pages.h"
#include "core/catalogue/search.h"

namespace zondari::cli {

// The general database page or a search page: writes it, prints its path.
// 0 when written (with at least one hit for a search), 1 when there is no
// catalogue, no hit, a catalogue left out or a failure.
int writeDatabasePage(const catalogue::PageRequest& request);

// The program folder and the user's catalogue files that the database pages
// read; nothing, with the reason told on standard error, when there is none
// or they cannot be listed.
struct PageCatalogues {
    std::string programFolder;
    std::vector<std::string> files;
};
std::optional<PageCatalogues> pageCatalogues();

// Names on standard error the catalogues a page was made without; 1 when
// there is any, else 0.
int reportLeftOut(const std::vector<catalogue::UnreadCatalogue>& leftOut);

// A failure as the command line tells it.
int failWith(const std::string& description);

} // namespace zondari::cli
