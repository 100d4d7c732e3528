// zondari-cli html CATALOGUE: "default.htm" of one catalogue file.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/catalogueplace.h"
#include "cli/commands.h"
#include "cli/pagescommon.h"
#include "core/catalogue/search.h"
#include "core/common/escape.h"
#include "core/common/paths.h"
#include "platform/cataloguestore.h"
#include "platform/files.h"

namespace zondari::cli {

int runHtml(const Args& args)
{
    CataloguePlace place;
    if (!locateCatalogues(place))
        return 1;
    // A catalogue is named by its path, or by its name in the program folder.
    std::string path = args.operands()[0];
    if (!files::fileExists(path) && path.find('/') == std::string::npos)
        path = withSlash(place.programFolder) + path;
    if (!files::fileExists(path)) {
        std::fprintf(stderr, "%s\n", catalogue::kNoExportMessage);
        return 1;
    }
    const auto page = cataloguestore::writeCataloguePage(place.programFolder, path);
    if (!page)
        return failWith(page.error().description);
    std::printf("%s\n", text::terminalText(*page).c_str());
    return 0;
}

} // namespace zondari::cli
