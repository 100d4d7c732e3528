#include "cli/pagescommon.h"

#include <cstdio>
#include <vector>

#include "cli/catalogueplace.h"
#include "core/catalogue/search.h"
#include "core/common/escape.h"
#include "platform/cataloguestore.h"

namespace zondari::cli {

int failWith(const std::string& description)
{
    std::fprintf(stderr, "zondari-cli: %s\n", description.c_str());
    return 1;
}

std::optional<PageCatalogues> pageCatalogues()
{
    CataloguePlace place;
    if (!locateCatalogues(place))
        return std::nullopt;
    auto catalogues = cataloguestore::pageCataloguePaths(place.programFolder, place.user);
    if (!catalogues) {
        failWith(catalogues.error().description);
        return std::nullopt;
    }
    if (catalogues->empty()) {
        std::fprintf(stderr, "%s\n", catalogue::kEmptyDatabaseMessage);
        return std::nullopt;
    }
    return PageCatalogues{place.programFolder, std::move(*catalogues)};
}

int writeDatabasePage(const catalogue::PageRequest& request)
{
    const auto catalogues = pageCatalogues();
    if (!catalogues)
        return 1;
    const auto written = cataloguestore::writeDatabasePage(catalogues->programFolder, catalogues->files, request);
    if (!written)
        return failWith(written.error().description);
    std::printf("%s\n", text::terminalText(written->path).c_str());
    int status = reportLeftOut(written->leftOut);
    if (!request.wholeDatabase() && written->hits == 0) {
        std::fprintf(stderr, "%s\n", text::terminalText(catalogue::noHitMessage(request.text)).c_str());
        status = 1;
    }
    return status;
}

int reportLeftOut(const std::vector<catalogue::UnreadCatalogue>& leftOut)
{
    if (leftOut.empty())
        return 0;
    // Named as the terminal may show them; the message's own lines stay.
    std::vector<catalogue::UnreadCatalogue> shown = leftOut;
    for (catalogue::UnreadCatalogue& c : shown)
        c.path = text::terminalText(c.path);
    std::fflush(stdout);
    std::fprintf(stderr, "zondari-cli: %s\n", catalogue::leftOutMessage(shown).c_str());
    return 1;
}

} // namespace zondari::cli
