#pragma once

#include <string>
#include <vector>

class QListWidget;

namespace zondari {

// Shows `entries` in the entry list `List1`: a path whose name is not UTF-8
// with U+FFFD where its bytes are not. The bytes themselves stay in the
// current catalogue, from which the pages are made.
void fillEntryList(QListWidget* list, const std::vector<std::string>& entries);

} // namespace zondari
