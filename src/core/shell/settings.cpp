#include "core/shell/settings.h"

#include <string_view>

#include "core/common/text.h"

namespace zondari {

Settings defaultSettings(const std::string& programFolder)
{
    return {kDefaultUser, kDefaultMusicFiles, programFolder};
}

Settings parseSettings(const std::vector<std::string>& lines)
{
    Settings s;
    for (const std::string& line : lines) {
        const std::string_view body = std::string_view(line).substr(std::min(line.find_first_not_of(' '), line.size()));
        std::string* target = nullptr;
        if (text::startsWith(body, "Utente="))
            target = &s.utente;
        else if (text::startsWith(body, "FilesMusicali="))
            target = &s.filesMusicali;
        else if (text::startsWith(body, "UltimoPath="))
            target = &s.ultimoPath;
        if (target)
            *target = text::trimLeftSpaces(body.substr(body.find('=') + 1));
    }
    return s;
}

std::vector<std::string> settingsLines(const Settings& s)
{
    return {
        "; File di inizializzazione per Zondari",
        "; Non manomettere assolutamente queste righe!",
        "Utente=" + s.utente,
        "FilesMusicali=" + s.filesMusicali,
        "UltimoPath=" + s.ultimoPath,
    };
}

} // namespace zondari
