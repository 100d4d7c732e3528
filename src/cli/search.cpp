// zondari-cli search TEXT [--maiuscole] [--senza-cartelle]: the search page.

#include "core/catalogue/search.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/pagescommon.h"
#include "core/common/text.h"

namespace zondari::cli {

int runSearch(const std::vector<std::string>& args)
{
    catalogue::PageRequest request;
    bool haveText = false;
    bool usage = false;
    bool options = true; // "--" ends them, for a text that begins with "-"
    for (const std::string& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && a == "--maiuscole") {
            request.caseSensitive = true;
        } else if (options && a == "--senza-cartelle") {
            request.folders = false;
        } else if (!haveText && (!options || a.empty() || a[0] != '-' || a.size() == 1)) {
            request.text = a;
            haveText = true;
        } else {
            usage = true;
        }
    }
    if (usage || !haveText) {
        std::fprintf(stderr, "Uso: zondari-cli search TESTO [--maiuscole] [--senza-cartelle]\n");
        return 2;
    }
    const auto text = catalogue::searchTextOf(request.text);
    if (!text) {
        std::fprintf(stderr, "%s\n", catalogue::kInvalidSearchTextMessage);
        return 2;
    }
    request.text = *text;
    if (text::charCount(request.text) < 2) {
        std::fprintf(stderr, "%s\n", catalogue::kShortSearchMessage);
        return 2;
    }
    return writeDatabasePage(request);
}

} // namespace zondari::cli
