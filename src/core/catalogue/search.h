#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/cataloguereader.h"
#include "core/catalogue/pages.h"
#include "core/common/bytesink.h"
#include "core/common/result.h"

// The general database page and the search page, written from every
// catalogue of the user.
namespace zondari::catalogue {

// A catalogue file that could not be read (a link to a file that is gone,
// a disk that fails), and why.
struct UnreadCatalogue {
    std::string path;
    RuntimeError error;
};

// What a written page came to.
struct WrittenPage {
    std::string path; // empty until the page has its file
    long hits = 0; // file entries listed on a search page
    std::vector<UnreadCatalogue> leftOut; // the catalogues it was made without
};

// Called after each catalogue with how many are done and how many there are.
using PageProgress = std::function<void(std::size_t done, std::size_t total)>;

// Opens each of `catalogues` in turn with `open` and hands `add` its path and
// a reader open on it, reporting progress after each; the catalogues that
// could not be read. One that cannot be opened is left out; so is one whose
// reading fails while `add` takes it (reader.failed()), and `add` must then
// take back what it made of it. Any other failure of `add` (the page cannot
// be written) stops the loop with its error.
Result<std::vector<UnreadCatalogue>> forEachCatalogue(const std::vector<std::string>& catalogues,
    const SourceOpener& open, const PageProgress& progress,
    const std::function<Status(const std::string& path, CatalogueReader& reader)>& add);

// The data of the catalogue file at a path (see CatalogueData); empty when
// it has none.
using CatalogueDataReader = std::function<CatalogueData(const std::string& cataloguePath)>;

// Makes the page `request` asks for into `sink`, from the catalogue files
// `catalogues` (full paths, in the order they are listed, each opened by
// `open`, its data read by `readData` while it is on the page): the number of file entries listed on a search page, and
// the catalogues that could not be read and are not on it. Catalogues are read one at a time, each through a buffer of
// fixed size, and the page goes out as it grows, so memory stays the same whatever their number and size.
Result<WrittenPage> makeDatabasePage(ByteSink& sink, const std::vector<std::string>& catalogues,
    const SourceOpener& open, const PageRequest& request, const PageProgress& progress = {},
    const CatalogueDataReader& readData = {});

// Names the catalogues a page was made without, and why, for the user.
std::string leftOutMessage(const std::vector<UnreadCatalogue>& leftOut);

// Makes "default.htm" of the catalogue file `reader` has open into `sink`,
// read a block at a time, so that memory stays the same whatever the file
// holds. With `data`, its files' figures and its totals are shown.
Status makeCataloguePage(ByteSink& sink, CatalogueReader& reader, const CatalogueData* data = nullptr);

// The message shown when no file entry holds the search text.
std::string noHitMessage(const std::string& text);

inline constexpr const char* kEmptyDatabaseMessage
    = "Questa operazione legge tutti i dati dei CD di MP3 che hai inserito, per adesso però non hai inserito "
      "nessun cd registrato nel tuo database, clicca sull'icona del CD-ROM per registrare le informazioni di un "
      "cd di MP3";

inline constexpr const char* kShortSearchMessage
    = "Inserire una stringa per la ricerca composta almeno da 2 caratteri!";

inline constexpr const char* kNoExportMessage = "Nessun file trovato, non verrà creato nessun file HTML";

} // namespace zondari::catalogue
