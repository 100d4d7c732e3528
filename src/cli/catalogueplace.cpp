#include "cli/catalogueplace.h"

#include <cstdio>

#include "core/common/paths.h"
#include "core/shell/settings.h"
#include "platform/files.h"
#include "platform/programfolder.h"

namespace zondari::cli {

bool locateCatalogues(CataloguePlace& where)
{
    const auto folder = resolveProgramFolder(executableFolder());
    if (!folder) {
        std::fprintf(stderr, "zondari-cli: cartella del programma non disponibile: %s\n",
                     folder.error().description.c_str());
        return false;
    }
    where.programFolder = *folder;
    const std::string ini = withSlash(*folder) + kSettingsFileName;
    Settings settings = defaultSettings(*folder);
    if (files::fileExists(ini)) {
        auto lines = files::readTextLines(ini);
        if (!lines) {
            std::fprintf(stderr, "zondari-cli: %s: %s\n", ini.c_str(), lines.error().description.c_str());
            return false;
        }
        settings = parseSettings(*lines);
    }
    where.user = settings.utente;
    return true;
}

}  // namespace zondari::cli
