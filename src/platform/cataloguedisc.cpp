#include "platform/cataloguedisc.h"

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/entry.h"
#include "core/catalogue/playaddress.h"
#include "core/common/encoding.h"
#include "core/common/paths.h"
#include "platform/files.h"
#include "platform/scandata.h"

namespace zondari {
namespace {

bool there(const std::string& path)
{
    return files::fileExists(path) || files::folderExists(path);
}

} // namespace

Result<CatalogueEntry, std::string> checkCatalogueEntry(
    const std::string& folder, const std::string& user, const std::string& catalogueName, const std::string& entry)
{
    if (std::string problem = catalogue::catalogueNameProblem(catalogueName); !problem.empty())
        return problem;
    const std::string path = withSlash(folder) + catalogueName;
    const auto bytes = files::fileExists(path) ? files::readBytes(path) : Result<std::string>(RuntimeError{});
    if (!bytes)
        return "Il catalogo " + catalogueName + " non è nella cartella del programma. Non viene riprodotto nulla.";
    if (std::string problem = catalogue::entryProblem(catalogueName, *bytes, entry); !problem.empty())
        return problem;
    // A line of a catalogue made on Windows, given by its own bytes, names
    // the file the disc holds in UTF-8.
    const bool windowsLine = !encoding::isValidUtf8(entry) && !bytes->starts_with(catalogue::kRawNamesMark);
    return CatalogueEntry{catalogueName, path, catalogue::parseCatalogue(*bytes).title,
        windowsLine ? catalogue::decodeLine(entry, catalogue::LineCoding::Windows1252) : entry, discOf(path, user)};
}

catalogue::DiscIdentity discOf(const std::string& cataloguePath, const std::string& user)
{
    return catalogue::discIdentity(files::nameOf(cataloguePath), user, cataloguestore::readVolumeData(cataloguePath));
}

catalogue::Located findOnDisc(const std::string& entry, const catalogue::DiscIdentity& disc, MountTable& mounts)
{
    // A folder entry is its folder's path in parentheses.
    const std::string recorded = catalogue::isFolderEntry(entry) ? entry.substr(1, entry.size() - 2) : entry;
    return catalogue::locate(recorded, disc, mounts.volumes(), there);
}

std::string whereaboutsText(const catalogue::Located& at, const std::string& title, const catalogue::DiscIdentity& disc)
{
    switch (at.where) {
    case catalogue::Whereabouts::Mounted:
        return there(at.path) ? "in " + at.path : "disco inserito, ma non contiene " + at.path;
    case catalogue::Whereabouts::NotMounted:
        return "disco non inserito: " + catalogue::insertDiscMessage(title, disc);
    case catalogue::Whereabouts::Unidentified:
        break;
    }
    return there(at.path) ? "in " + at.path + " (non è stato possibile verificare il disco)"
                          : "il disco non si può riconoscere e " + at.path + " non esiste";
}

} // namespace zondari
