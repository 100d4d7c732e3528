#pragma once

#include <string>
#include <vector>

class QListWidget;

namespace zondari {

// The entry list `List1` holds the current catalogue's entries as the
// program holds them: a path whose name is not UTF-8 is shown with U+FFFD
// where its bytes are not, and keeps its own bytes beside the text, so that
// the page made from the list still links the real file.

// Replaces the list's items with `entries`.
void fillEntryList(QListWidget* list, const std::vector<std::string>& entries);

// The entries the list holds, in order.
std::vector<std::string> entryListOf(const QListWidget* list);

}  // namespace zondari
