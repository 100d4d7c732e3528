// zondari-cli dove TESTO: where each catalogued file holding the text is
// now; zondari-cli suona CATALOGO VOCE: plays it in zondari.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/catalogueplace.h"
#include "cli/commands.h"
#include "cli/pagescommon.h"
#include "core/catalogue/entry.h"
#include "core/catalogue/pages.h"
#include "core/catalogue/playaddress.h"
#include "core/common/encoding.h"
#include "core/common/escape.h"
#include "core/common/text.h"
#include "platform/cataloguedisc.h"
#include "platform/cataloguestore.h"
#include "platform/files.h"
#include "platform/programfolder.h"
#include "platform/shell.h"

namespace zondari::cli {

namespace cat = catalogue;

int runWhere(const Args& args)
{
    const auto text = cat::searchTextOf(args.operands()[0]);
    if (!text) {
        std::fprintf(stderr, "%s\n", cat::kInvalidSearchTextMessage);
        return 2;
    }
    if (text::charCount(*text) < 2) {
        std::fprintf(stderr, "%s\n", cat::kShortSearchMessage);
        return 2;
    }
    CataloguePlace place;
    const auto catalogues = pageCatalogues();
    if (!catalogues || !locateCatalogues(place))
        return 1;
    const cat::EntryMatcher matcher(*text, args.has("--maiuscole"));
    const bool folders = !args.has("--senza-cartelle");
    MountTable mounts;
    int status = 0;
    long hits = 0;
    for (const std::string& path : catalogues->files) {
        const auto read = cataloguestore::readCatalogue(path);
        if (!read) {
            status = failWith(path + ": " + read.error().description);
            continue;
        }
        const cat::DiscIdentity disc = discOf(path, place.user);
        std::string out;
        for (const std::string& entry : read->entries) {
            const std::string shown = encoding::isValidUtf8(entry) ? entry : cat::displayText(entry);
            if ((!folders && cat::isFolderEntry(entry)) || !matcher.matches(shown))
                continue;
            ++hits;
            const cat::Located at = findOnDisc(entry, disc, mounts);
            out += text::terminalText(shown) + "\n  «" + text::terminalText(read->title) + "» ("
                + text::terminalText(files::nameOf(path))
                + "): " + text::terminalText(whereaboutsText(at, read->title, disc)) + "\n";
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    if (hits == 0) {
        std::fprintf(stderr, "%s\n", text::terminalText(cat::noHitMessage(*text)).c_str());
        return 1;
    }
    return status;
}

int runPlay(const Args& args)
{
    const auto& words = args.operands();
    CataloguePlace place;
    if (!locateCatalogues(place))
        return 1;
    std::string address;
    if (words.size() == 1) {
        // An address, as the desktop hands it to zondari.
        const auto request = cat::parseAddress(words[0]);
        if (!request) {
            std::fprintf(stderr, "%s\n", text::terminalText(request.error()).c_str());
            return 1;
        }
        if (!request->play) {
            address = words[0];
        } else if (const auto checked
                   = checkCatalogueEntry(place.programFolder, place.user, request->catalogue, request->entry);
                   !checked) {
            std::fprintf(stderr, "%s\n", text::terminalText(checked.error()).c_str());
            return 1;
        }
    } else if (const auto checked = checkCatalogueEntry(place.programFolder, place.user, words[0], words[1]);
               !checked) {
        std::fprintf(stderr, "%s\n", text::terminalText(checked.error()).c_str());
        return 1;
    }
    if (address.empty())
        address = words.size() == 1 ? words[0] : cat::playAddress(words[0], words[1]);
    // The program folder first, as the start convention looks for programs.
    const std::string program = findProgram("zondari", {place.programFolder, executableFolder()});
    if (program.empty())
        return failWith("programma zondari non trovato.");
    if (const Status started = spawnDetached({program, address}); !started)
        return failWith("impossibile avviare zondari: " + started.error().description);
    std::printf("%s\n", text::terminalText(address).c_str());
    return 0;
}

} // namespace zondari::cli
