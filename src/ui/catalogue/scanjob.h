#pragma once

#include <QFuture>
#include <QString>
#include <cstddef>
#include <string>

#include "core/catalogue/findsubfolders.h"
#include "platform/cataloguestore.h"

namespace zondari {

// The catalogue window's walk of the disk from `root`, run on Qt's thread
// pool. Its future's progress text says how far it has got, a few times a
// second at most; its result is the outcome. `progress` must outlive it;
// setting its `stop` ends the walk at the next folder.
QFuture<catalogue::ScanOutcome> startScan(const std::string& root, bool allFiles, catalogue::ScanProgress& progress);

// "Lettura in corso: 1.234 cartelle lette, 56.789 file trovati".
QString progressLine(std::size_t folders, std::size_t files);

// The second half of a scan, once the user has agreed to it: the files of
// `entries` read for their data and the catalogue written with it
// (writeSaved), on Qt's thread pool. Its progress text says how many files
// are done; `progress` must outlive it, and its `stop` ends it with
// nothing written.
QFuture<cataloguestore::SavedScan> startDataWrite(cataloguestore::SavedScan saved, const std::string& folder,
    const std::string& root, std::vector<std::string> entries, bool fingerprints,
    cataloguestore::DataProgress& progress);

// "Lettura dei file: 1.234 di 5.678", and ", 12,3 MB letti" when the
// fingerprints are taken.
QString dataProgressLine(const cataloguestore::DataProgress& progress, bool fingerprints);

} // namespace zondari
