#pragma once

#include <string>

#include "core/catalogue/pages.h"

namespace zondari::cli {

// The general database page or a search page: writes it, prints its path.
// 0 when written (with at least one hit for a search), 1 when there is no
// catalogue, no hit or a failure.
int writeDatabasePage(const catalogue::PageRequest& request);

// A failure as the command line tells it.
int failWith(const std::string& description);

} // namespace zondari::cli
