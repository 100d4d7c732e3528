// zondari-cli database: the general page of every catalogue.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/pagescommon.h"

namespace zondari::cli {

int runDatabase(const std::vector<std::string>& args)
{
    if (!args.empty()) {
        std::fprintf(stderr, "Uso: zondari-cli database\n");
        return 2;
    }
    return writeDatabasePage(catalogue::PageRequest{});
}

} // namespace zondari::cli
