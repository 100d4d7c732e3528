#include "cli/pagescommon.h"

#include <cstdio>
#include <vector>

#include "cli/catalogueplace.h"
#include "core/catalogue/search.h"
#include "platform/cataloguestore.h"

namespace zondari::cli {

int failWith(const std::string& description)
{
    std::fprintf(stderr, "zondari-cli: %s\n", description.c_str());
    return 1;
}

int writeDatabasePage(const catalogue::PageRequest& request)
{
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
    const auto written = catalogue::writeDatabasePage(place.programFolder, *catalogues, request);
    if (!written)
        return failWith(written.error().description);
    std::printf("%s\n", written->path.c_str());
    if (!request.wholeDatabase() && written->hits == 0) {
        std::fprintf(stderr, "%s\n", catalogue::noHitMessage(request.text).c_str());
        return 1;
    }
    return 0;
}

} // namespace zondari::cli
