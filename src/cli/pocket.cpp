// zondari-cli tascabile: the pocket catalogue, every catalogue in one page
// that searches as the user types.

#include "core/catalogue/pocket.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/pagescommon.h"
#include "core/common/escape.h"
#include "platform/cataloguestore.h"

namespace zondari::cli {

int runPocket(const Args&)
{
    const auto catalogues = pageCatalogues();
    if (!catalogues)
        return 1;
    const auto written = cataloguestore::writePocketPage(catalogues->programFolder, catalogues->files);
    if (!written)
        return failWith(written.error().description);
    std::printf("%s\n%zu cataloghi, %zu file\n", text::terminalText(written->path).c_str(), written->summary.catalogues,
        written->summary.files);
    return reportLeftOut(written->summary.leftOut);
}

} // namespace zondari::cli
