// zondari-cli database: the general page of every catalogue.

#include "cli/commands.h"
#include "cli/pagescommon.h"

namespace zondari::cli {

int runDatabase(const Args&)
{
    return writeDatabasePage(catalogue::PageRequest{});
}

} // namespace zondari::cli
