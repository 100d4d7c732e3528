#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/pages.h"
#include "core/common/result.h"

// The general database page and the search page, written from every
// catalogue of the user.
namespace zondari::catalogue {

// What a written page came to.
struct WrittenPage {
    std::string path;
    long hits = 0;  // file entries listed on a search page
};

// Called after each catalogue with how many are done and how many there are.
using PageProgress = std::function<void(std::size_t done, std::size_t total)>;

// Writes the page `request` asks for into `folder`, from the catalogue files
// `catalogues` (full paths, in the order they are listed). Catalogues are
// read one at a time, each through a buffer of fixed size, and the page goes
// out as it grows, so memory stays the same whatever their number and size. The page is written beside its final name and
// takes that name only when complete: on any failure (a catalogue that
// cannot be read, a folder that cannot be written) the old page, if any,
// stays as it was and the error is returned.
Result<WrittenPage> writeDatabasePage(const std::string& folder, const std::vector<std::string>& catalogues,
                                      const PageRequest& request, const PageProgress& progress = {});

// Writes "default.htm" of one catalogue into `folder` the same way (whole
// or not at all); its full path.
Result<std::string> writeExportPage(const std::string& folder, std::string_view title,
                                    const std::vector<std::string>& entries);

// The same from the catalogue file at `cataloguePath`, read a block at a
// time, so that memory stays the same whatever the file holds.
Result<std::string> writeCataloguePage(const std::string& folder, const std::string& cataloguePath);

// The message shown when no file entry holds the search text.
std::string noHitMessage(const std::string& text);

inline constexpr const char* kEmptyDatabaseMessage =
    "Questa operazione legge tutti i dati dei CD di MP3 che hai inserito, per adesso però non hai inserito "
    "nessun cd registrato nel tuo database, clicca sull'icona del CD-ROM per registrare le informazioni di un "
    "cd di MP3";

inline constexpr const char* kShortSearchMessage = "Inserire una stringa per la ricerca composta almeno da 2 caratteri!";

inline constexpr const char* kNoExportMessage = "Nessun file trovato, non verrà creato nessun file HTML";

}  // namespace zondari::catalogue
