#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/pocket.h"
#include "core/catalogue/scanchanges.h"
#include "core/catalogue/search.h"
#include "core/common/result.h"
#include "platform/scandata.h"
#include "platform/volume.h"

// The catalogue files in the program folder: every call here reads or writes
// the disk (the rules they follow are core's, in namespace catalogue).
namespace zondari::cataloguestore {

// The names of the catalogue files of `user` in `folder`, in the order of
// the directory search; a link to a catalogue that is gone is among them,
// so that it is named (and can be deleted) rather than lost in silence.
Result<std::vector<std::string>> catalogueFiles(const std::string& folder, const std::string& user);

// The catalogue list: an item (name \ (title)) for each catalogue file of
// `user`, sorted. A file whose title cannot be read is listed with an empty
// title, so that it can still be deleted, and is named in `unread`.
struct CatalogueList {
    std::vector<std::string> items;
    std::vector<catalogue::UnreadCatalogue> unread;
};
Result<CatalogueList> catalogueListItems(const std::string& folder, const std::string& user);

// The name the catalogue of the chosen folder gets: user, label and serial
// of the volume that holds it, and the folder part.
std::string catalogueNameFor(const VolumeReader& volumes, const std::string& folder, const std::string& user);

// The catalogue in the file at `path`, read as parseCatalogue reads it,
// through a buffer of fixed size: a file of any size holds as much as its
// entries take.
Result<catalogue::Catalogue> readCatalogue(const std::string& path);

// The title of the catalogue file at `path` (its first line, cut as
// cutTitle cuts it); the rest of the file is not read.
Result<std::string> readCatalogueTitle(const std::string& path);

// The catalogue files the general and the search pages read: those of
// `folder` that the directory search matches with "ZOND_" + user + "*.txt",
// as full paths in the order it delivers them.
Result<std::vector<std::string>> pageCataloguePaths(const std::string& folder, const std::string& user);

// Each writer below replaces its file whole or not at all (files::replaceFile):
// on any failure (a catalogue that cannot be read, a folder that cannot be
// written, a full disk) the old file, if any, stays as it was and the error
// is returned.

// Writes the catalogue file `name` in `folder`.
Status writeCatalogue(const std::string& folder, const std::string& name, const catalogue::Catalogue& catalogue);

// What became of a scan's catalogue.
struct SavedScan {
    enum class Step {
        Written, // the file holds the scan
        Declined, // a catalogue of that name exists and was kept
        StoredTitleUnreadable, // that catalogue's title could not be read: nothing written
        WriteFailed, // the write failed; the old file, if any, is as it was
        Stopped, // the reading of the files was stopped: nothing written
    };
    Step step = Step::Written;
    std::string name; // the catalogue's file name
    std::string title; // the title written, or the stored one offered
    RuntimeError error;
};

// How a scan compares with the catalogue of its name: `compared` is false
// when the stored entries could not be read, and `error` says why.
struct StoredComparison {
    bool compared = false;
    catalogue::ScanChanges changes;
    RuntimeError error;
};

// The stored catalogue at `path` compared with the entries of a new scan,
// read a block at a time: the comparison holds no copy of it. What it held
// below the scan's `unreadableFolders` is unread, not removed. The changes
// are read while `scanned` lives.
StoredComparison compareWithStored(const std::string& path, const std::vector<std::string>& scanned,
    const std::vector<std::string>& unreadableFolders = {});
StoredComparison compareWithStored(const std::string&, std::vector<std::string>&&, const std::vector<std::string>& = {})
    = delete; // the changes would outlive the scanned entries

// The summary line of a comparison: what changed, or why it is not known.
std::string comparisonSummary(const StoredComparison& comparison);

// Asked when a catalogue of the scan's name exists: whether to overwrite it.
// `untitled`: the scan has the anonymous title, and the stored one is kept.
// `stored`: what the scan changes in it.
using OverwriteQuestion = std::function<bool(
    const std::string& name, const std::string& storedTitle, bool untitled, const StoredComparison& stored)>;

// Saves a scan of the folder `root` as a catalogue of `user` in `folder`:
// names it after the volume and folder, looks for a catalogue of that name,
// keeps its stored title when `title` is the anonymous one (asking first,
// with what changed; the entries below the folders the scan could not read
// are not counted as removed), and writes the file. With `data`, the
// files are read after the question and the side files written with the
// catalogue (writeCatalogueWithData); without, older side files go.
SavedScan saveScan(const VolumeReader& volumes, const std::string& folder, const std::string& user,
    const std::string& root, const std::string& title, std::vector<std::string> entries,
    const OverwriteQuestion& overwrite, const std::vector<std::string>& unreadableFolders = {},
    const cataloguestore::DataRequest* data = nullptr);

// saveScan in two steps, for a caller that reads the files elsewhere than
// where it asks: the question (Step::Written when the scan is to be
// written), then the write.
SavedScan askToSave(const VolumeReader& volumes, const std::string& folder, const std::string& user,
    const std::string& root, const std::string& title, const std::vector<std::string>& entries,
    const OverwriteQuestion& overwrite, const std::vector<std::string>& unreadableFolders = {});
void writeSaved(SavedScan& saved, const VolumeReader& volumes, const std::string& folder, const std::string& root,
    std::vector<std::string> entries, const cataloguestore::DataRequest* data);

// Writes the page `request` asks for into `folder` from the catalogue files
// `catalogues` (full paths, in the order they are listed), in a bounded
// amount of memory whatever their number and size. One that cannot be read
// is left out of the page, and named in `leftOut`.
Result<catalogue::WrittenPage> writeDatabasePage(const std::string& folder, const std::vector<std::string>& catalogues,
    const catalogue::PageRequest& request, const catalogue::PageProgress& progress = {});

// What a written pocket catalogue came to.
struct WrittenPocket {
    std::string path;
    catalogue::PocketSummary summary;
};

// Writes the pocket catalogue (kPocketPageName) into `folder` from the
// catalogue files `catalogues`, holding one catalogue at a time.
Result<WrittenPocket> writePocketPage(const std::string& folder, const std::vector<std::string>& catalogues,
    const catalogue::PageProgress& progress = {});

// Writes "default.htm" of one catalogue, as the program holds it, into
// `folder`; its full path. The data of the catalogue file at `cataloguePath`,
// when one is named and has side files, is shown beside its entries.
Result<std::string> writeExportPage(const std::string& folder, std::string_view title,
    const std::vector<std::string>& entries, const std::string& cataloguePath = {});

// The same from the catalogue file at `cataloguePath`, read a block at a
// time, with its data.
Result<std::string> writeCataloguePage(const std::string& folder, const std::string& cataloguePath);

} // namespace zondari::cataloguestore
