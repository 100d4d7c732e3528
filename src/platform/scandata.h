#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/duplicates.h"
#include "core/catalogue/pages.h"
#include "core/catalogue/search.h"
#include "core/catalogue/sidefile.h"
#include "core/common/result.h"
#include "platform/volume.h"

// The catalogue written with what its scan reads of every file, and the
// files beside it read back (sidefile.h tells their form).
namespace zondari::cataloguestore {

// How far the reading of the files has got; written by the writer, read by
// whoever shows it (another thread, maybe). Setting `stop` ends it at the
// next file, and nothing is written.
struct DataProgress {
    std::atomic<std::size_t> done{0}, total{0};
    std::atomic<std::uint64_t> bytes{0}; // read for fingerprints
    std::atomic<std::size_t> unread{0}; // files that could not be read: no row
    std::atomic<bool> stop{false};
};

struct DataRequest {
    bool fingerprints = false;
    DataProgress* progress = nullptr;
    // Called after each file, on the writer's thread.
    std::function<void(const DataProgress&)> report;
};

// Writes the catalogue `name` in `folder` with its two side files, the
// files of its entries read one at a time into the rows as they are
// written. The three files are replaced together: a failure or a stop
// leaves all three as they were (only a failure of the final renames can
// part them). The volume's data is that of the volume holding `root`.
Status writeCatalogueWithData(const std::string& folder, const std::string& name, const catalogue::Catalogue& catalogue,
    const VolumeReader& volumes, const std::string& root, const DataRequest& request);

// Removes the side files of the catalogue `name` in `folder`: a catalogue
// written without data must not be shown another scan's. A missing one is
// no failure.
Status removeSideFiles(const std::string& folder, const std::string& name);

// Deletes the catalogue `name` in `folder` and its side files.
Status deleteCatalogue(const std::string& folder, const std::string& name);

// Each row of the side file of the catalogue at `cataloguePath`, in the
// file's order, read a block at a time; no side file gives none.
Result<catalogue::SideReadCount> forEachSideRow(
    const std::string& cataloguePath, const std::function<void(catalogue::TrackData&&)>& take);

// The volume file of the catalogue at `cataloguePath`; nothing when it has none.
std::optional<catalogue::VolumeData> readVolumeData(const std::string& cataloguePath);

// Both side files of the catalogue at `cataloguePath`, as the pages show
// them; empty when it has none or they cannot be read, so that its page is
// made as it always was.
catalogue::CatalogueData readCatalogueData(const std::string& cataloguePath);

// Which file of a catalogue could not be read: the catalogue itself, or its
// data.
struct RowsFailure {
    bool data = false;
    RuntimeError error;
};

// Each row of the catalogue at `path` whose entry it still holds, in the
// side file's order, with the catalogue's title.
std::optional<RowsFailure> forEachCatalogueRow(
    const std::string& path, const std::function<void(const std::string& title, const catalogue::TrackData&)>& each);

// What a search for duplicates came to: its page, written only when there
// are groups.
struct WrittenDuplicates {
    std::string path;
    std::size_t groups = 0;
    std::vector<catalogue::UnreadCatalogue> leftOut;
};

// Finds the duplicates across `catalogues` (full paths) and writes their
// page (kDuplicatesPageName) into `folder` when there are any.
Result<WrittenDuplicates> writeDuplicatesPage(const std::string& folder, const std::vector<std::string>& catalogues,
    const catalogue::PageProgress& progress = {});

} // namespace zondari::cataloguestore
