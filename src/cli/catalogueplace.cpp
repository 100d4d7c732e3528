#include "cli/catalogueplace.h"

#include <cstdio>

#include "core/common/paths.h"
#include "core/shell/settings.h"
#include "platform/programfolder.h"

namespace zondari::cli {

bool locateCatalogues(CataloguePlace& where)
{
    const auto folder = resolveProgramFolder(executableFolder());
    if (!folder) {
        std::fprintf(
            stderr, "zondari-cli: cartella del programma non disponibile: %s\n", folder.error().description.c_str());
        return false;
    }
    where.programFolder = *folder;
    const auto settings = readSettingsFile(*folder);
    if (!settings) {
        std::fprintf(stderr, "zondari-cli: %s%s: %s\n", withSlash(*folder).c_str(), kSettingsFileName,
            settings.error().description.c_str());
        return false;
    }
    where.user = settings->utente;
    return true;
}

} // namespace zondari::cli
