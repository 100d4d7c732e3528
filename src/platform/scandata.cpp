#include "platform/scandata.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <set>
#include <sys/statvfs.h>

#include "core/catalogue/entry.h"
#include "core/catalogue/volumeserial.h"
#include "core/common/paths.h"
#include "platform/cataloguestore.h"
#include "platform/files.h"
#include "platform/openfile.h"
#include "platform/trackdata.h"

namespace zondari::cataloguestore {

using namespace catalogue;

namespace {

std::string sidePath(const std::string& cataloguePath)
{
    return joinPath(files::folderOf(cataloguePath), sideFileName(files::nameOf(cataloguePath)));
}

VolumeData volumeData(const VolumeReader& volumes, const std::string& root)
{
    const VolumeInfo info = volumes.volumeOf(root);
    VolumeData v;
    v.label = info.label;
    v.serial = volumeserial::signedText(info.serial);
    v.windowsSerial = volumeserial::windowsText(info.serial);
    v.uuid = info.uuid;
    v.fileSystem = info.fileSystem;
    v.folder = root;
    // Where the volume is mounted, so that its paths can be found again
    // wherever it is mounted next.
    v.root = root;
    while (v.root.size() > 1 && !volumes.isVolumeRoot(v.root))
        v.root = files::folderOf(v.root);
    struct statvfs fs { };
    if (::statvfs(root.c_str(), &fs) == 0) {
        v.freeBytes = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
        v.totalBytes = static_cast<std::uint64_t>(fs.f_blocks) * fs.f_frsize;
    }
    v.scanned = static_cast<std::int64_t>(std::time(nullptr));
    return v;
}

Status removeIfThere(const std::string& path)
{
    if (std::remove(path.c_str()) != 0 && errno != ENOENT)
        return lastError();
    return {};
}

} // namespace

Status writeCatalogueWithData(const std::string& folder, const std::string& name, const Catalogue& catalogue,
    const VolumeReader& volumes, const std::string& root, const DataRequest& request)
{
    DataProgress own;
    DataProgress& progress = request.progress ? *request.progress : own;
    std::size_t files = 0;
    for (const std::string& entry : catalogue.entries)
        files += !isFolderEntry(entry);
    progress.total = files;
    VolumeData volume = volumeData(volumes, root);
    volume.files = files;
    const std::string p = withSlash(folder);
    return files::replaceFile(p + sideFileName(name), [&](ByteSink& sink) -> Status {
        // Rows go out in blocks: a scan of any size holds one block of them.
        constexpr std::size_t kBlock = 256 << 10;
        std::string rows = sideHeader();
        for (const std::string& entry : catalogue.entries) {
            if (isFolderEntry(entry))
                continue;
            if (progress.stop)
                return runtimeError(ErrorCode::InvalidCall); // nothing is replaced
            if (auto row = readTrackData(entry, request.fingerprints, &progress.bytes)) {
                volume.bytes += row->size;
                volume.seconds += row->seconds;
                rows += sideRow(*row);
            } else {
                ++progress.unread;
            }
            ++progress.done;
            if (request.report)
                request.report(progress);
            if (rows.size() >= kBlock) {
                if (auto st = sink.write(rows); !st)
                    return st;
                rows.clear();
            }
        }
        if (auto st = sink.write(rows); !st)
            return st;
        // The catalogue takes its name first, its data right after it.
        return files::replaceFile(p + volumeFileName(name), [&](ByteSink& volumeSink) -> Status {
            if (auto st = volumeSink.write(volumeBytes(volume)); !st)
                return st;
            return files::replaceFile(p + name, catalogueBytes(catalogue));
        });
    });
}

Status removeSideFiles(const std::string& folder, const std::string& name)
{
    const std::string p = withSlash(folder);
    if (auto st = removeIfThere(p + sideFileName(name)); !st)
        return st;
    return removeIfThere(p + volumeFileName(name));
}

Status deleteCatalogue(const std::string& folder, const std::string& name)
{
    if (std::remove((withSlash(folder) + name).c_str()) != 0)
        return lastError();
    return removeSideFiles(folder, name);
}

Result<SideReadCount> forEachSideRow(const std::string& cataloguePath, const std::function<void(TrackData&&)>& take)
{
    const std::string path = sidePath(cataloguePath);
    if (!files::fileExists(path))
        return SideReadCount{};
    auto source = files::openSource(path);
    if (!source)
        return source.error();
    SideReader reader(take);
    std::string block(1 << 16, '\0');
    for (;;) {
        auto n = (*source)->read(block.data(), block.size());
        if (!n)
            return n.error();
        if (*n == 0)
            break;
        reader.feed(std::string_view(block).substr(0, *n));
    }
    return reader.finish();
}

std::optional<VolumeData> readVolumeData(const std::string& cataloguePath)
{
    const std::string path = joinPath(files::folderOf(cataloguePath), volumeFileName(files::nameOf(cataloguePath)));
    if (!files::fileExists(path))
        return std::nullopt;
    auto bytes = files::readBytes(path, 1 << 20);
    if (!bytes)
        return std::nullopt;
    return parseVolumeFile(*bytes);
}

std::optional<RowsFailure> forEachCatalogueRow(
    const std::string& path, const std::function<void(const std::string& title, const TrackData&)>& each)
{
    const auto catalogue = readCatalogue(path);
    if (!catalogue)
        return RowsFailure{false, catalogue.error()};
    const std::set<std::string_view> entries(catalogue->entries.begin(), catalogue->entries.end());
    const auto read = forEachSideRow(path, [&](TrackData&& row) {
        if (entries.count(row.entry))
            each(catalogue->title, row);
    });
    if (!read)
        return RowsFailure{true, read.error()};
    return std::nullopt;
}

Result<WrittenDuplicates> writeDuplicatesPage(
    const std::string& folder, const std::vector<std::string>& catalogues, const PageProgress& progress)
{
    WrittenDuplicates written;
    DuplicateFinder finder;
    for (std::size_t i = 0; i < catalogues.size(); ++i) {
        if (auto failed = forEachCatalogueRow(
                catalogues[i], [&finder](const std::string& title, const TrackData& row) { finder.add(title, row); }))
            written.leftOut.push_back({catalogues[i], failed->error});
        if (progress)
            progress(i + 1, catalogues.size());
    }
    const auto groups = finder.groups();
    written.groups = groups.size();
    if (groups.empty())
        return written;
    const std::string path = joinPath(folder, kDuplicatesPageName);
    if (auto st = files::replaceFile(path, duplicatesPage(groups)); !st)
        return st.error();
    written.path = path;
    return written;
}

CatalogueData readCatalogueData(const std::string& cataloguePath)
{
    CatalogueData data;
    const auto read = forEachSideRow(cataloguePath, [&data](TrackData&& row) {
        std::string entry = row.entry;
        data.rows.insert_or_assign(std::move(entry), std::move(row));
    });
    if (!read)
        data.rows.clear();
    data.volume = readVolumeData(cataloguePath);
    return data;
}

} // namespace zondari::cataloguestore
