// zondari-cli list: the catalogue window's list of the user's catalogues.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/catalogueplace.h"
#include "core/catalogue/scanrules.h"
#include "platform/cataloguestore.h"

namespace zondari::cli {

namespace cat = catalogue;

int runList(const std::vector<std::string>& args)
{
    if (!args.empty()) {
        std::fprintf(stderr, "Uso: zondari-cli list\n");
        return 2;
    }
    CataloguePlace where;
    if (!locateCatalogues(where))
        return 1;
    auto items = cat::catalogueListItems(where.programFolder, where.user);
    if (!items) {
        std::fprintf(stderr, "zondari-cli: %s\n", items.error().description.c_str());
        return 1;
    }
    if (items->empty()) {
        std::fprintf(stderr, "%s\n", cat::kNoCatalogueMessage);
        return 1;
    }
    for (const std::string& item : *items)
        std::printf("%s\n", item.c_str());
    return 0;
}

} // namespace zondari::cli
