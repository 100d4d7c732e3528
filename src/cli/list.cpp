// zondari-cli list: the catalogue window's list of the user's catalogues.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/catalogueplace.h"
#include "cli/commands.h"
#include "core/catalogue/scanrules.h"
#include "core/common/escape.h"
#include "platform/cataloguestore.h"

namespace zondari::cli {

namespace cat = catalogue;

int runList(const Args&)
{
    CataloguePlace where;
    if (!locateCatalogues(where))
        return 1;
    auto list = cataloguestore::catalogueListItems(where.programFolder, where.user);
    if (!list) {
        std::fprintf(stderr, "zondari-cli: %s\n", list.error().description.c_str());
        return 1;
    }
    if (list->items.empty()) {
        std::fprintf(stderr, "%s\n", cat::kNoCatalogueMessage);
        return 1;
    }
    std::string out;
    for (const std::string& item : list->items)
        out += text::terminalText(item) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    // Listed with an empty title, as the window lists them; named here.
    std::fflush(stdout);
    for (const cat::UnreadCatalogue& c : list->unread)
        std::fprintf(stderr, "zondari-cli: impossibile leggere \"%s\": %s.\n", text::terminalText(c.path).c_str(),
            c.error.description.c_str());
    return list->unread.empty() ? 0 : 1;
}

} // namespace zondari::cli
