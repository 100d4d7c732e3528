// zondari-cli tascabile: the pocket catalogue, every catalogue in one page
// that searches as the user types.

#include "core/catalogue/pocket.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/catalogueplace.h"
#include "cli/pagescommon.h"
#include "platform/cataloguestore.h"

namespace zondari::cli {

int runPocket(const std::vector<std::string>& args)
{
    if (!args.empty()) {
        std::fprintf(stderr, "Uso: zondari-cli tascabile\n");
        return 2;
    }
    CataloguePlace place;
    if (!locateCatalogues(place))
        return 1;
    const auto catalogues = catalogue::pageCataloguePaths(place.programFolder, place.user);
    if (!catalogues)
        return failWith(catalogues.error().description);
    if (catalogues->empty()) {
        std::fprintf(stderr, "%s\n", catalogue::kEmptyDatabaseMessage);
        return 1;
    }
    const auto written = catalogue::writePocketPage(place.programFolder, *catalogues);
    if (!written)
        return failWith(written.error().description);
    std::printf(
        "%s\n%zu cataloghi, %zu file\n", written->path.c_str(), written->summary.catalogues, written->summary.files);
    return 0;
}

} // namespace zondari::cli
