// zondari-cli search TEXT [--maiuscole] [--senza-cartelle]: the search page.

#include "core/catalogue/search.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/pagescommon.h"

namespace zondari::cli {

int runSearch(const Args& args)
{
    catalogue::PageRequest request;
    request.caseSensitive = args.has("--maiuscole");
    request.folders = !args.has("--senza-cartelle");
    const auto text = catalogue::searchTextOf(args.operands()[0]);
    if (!text) {
        std::fprintf(stderr, "%s\n", catalogue::kInvalidSearchTextMessage);
        return 2;
    }
    request.text = *text;
    if (catalogue::searchLength(request.text) != catalogue::SearchLength::Enough) {
        std::fprintf(stderr, "%s\n", catalogue::kShortSearchMessage);
        return 2;
    }
    return writeDatabasePage(request);
}

} // namespace zondari::cli
