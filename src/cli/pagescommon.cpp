#include "cli/pagescommon.h"

#include <cstdio>
#include <vector>

#include "core/catalogue/search.h"
#include "core/shell/settings.h"
#include "core/state.h"
#include "platform/files.h"
#include "platform/programfolder.h"

namespace zondari::cli {

int failWith(const std::string& description)
{
    std::fprintf(stderr, "zondari-cli: %s\n", description.c_str());
    return 1;
}

bool loadPageSetup(PageSetup& setup)
{
    const auto folder = resolveProgramFolder(executableFolder());
    if (!folder) {
        failWith(folder.error().description);
        return false;
    }
    setup.folder = *folder;
    Settings settings = defaultSettings(setup.folder);
    const std::string ini = withSlash(setup.folder) + kSettingsFileName;
    if (files::fileExists(ini)) {
        if (auto lines = files::readTextLines(ini))
            settings = parseSettings(*lines);
    }
    setup.utente = settings.utente;
    return true;
}

int writeDatabasePage(const catalogue::PageRequest& request)
{
    PageSetup setup;
    if (!loadPageSetup(setup))
        return 1;
    const auto found = files::dirSearch(setup.folder, catalogue::cataloguePattern(setup.utente));
    if (!found)
        return failWith(found.error().description);
    if (found->empty()) {
        std::fprintf(stderr, "%s\n", catalogue::kNoCatalogueMessage);
        return 1;
    }
    std::vector<std::string> catalogues;
    catalogues.reserve(found->size());
    for (const std::string& name : *found)
        catalogues.push_back(withSlash(setup.folder) + name);

    const auto written = catalogue::writeDatabasePage(setup.folder, catalogues, request);
    if (!written)
        return failWith(written.error().description);
    std::printf("%s\n", written->path.c_str());
    if (!request.wholeDatabase() && written->hits == 0) {
        std::fprintf(stderr, "%s\n", catalogue::noHitMessage(request.text).c_str());
        return 1;
    }
    return 0;
}

}  // namespace zondari::cli
