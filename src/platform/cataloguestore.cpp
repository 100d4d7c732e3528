#include "platform/cataloguestore.h"

#include "core/catalogue/cataloguelist.h"
#include "core/catalogue/cataloguereader.h"
#include "core/catalogue/filename.h"
#include "core/catalogue/search.h"
#include "core/common/encoding.h"
#include "core/common/paths.h"
#include "core/common/text.h"
#include "platform/files.h"

namespace zondari::cataloguestore {

using namespace catalogue;

Result<std::vector<std::string>> catalogueFiles(const std::string& folder, const std::string& user)
{
    auto names = files::dirSearch(folder, std::string(kPrefix) + "*" + kExtension, files::BrokenLinks::List);
    if (!names)
        return names.error();
    std::erase_if(*names, [&user](const std::string& n) { return !isCatalogueOf(n, user); });
    return names;
}

Result<CatalogueList> catalogueListItems(const std::string& folder, const std::string& user)
{
    auto names = catalogueFiles(folder, user);
    if (!names)
        return names.error();
    CatalogueList list;
    list.items.reserve(names->size());
    const std::string p = withSlash(folder);
    for (const std::string& name : *names) {
        auto title = readCatalogueTitle(p + name);
        list.items.push_back(listItem(name, title ? shownTitle(*title) : std::string()));
        if (!title)
            list.unread.push_back({p + name, title.error()});
    }
    text::sortNoCase(list.items);
    return list;
}

std::string catalogueNameFor(const VolumeReader& volumes, const std::string& folder, const std::string& user)
{
    const VolumeInfo v = volumes.volumeOf(folder);
    return catalogueFileName(user, v.label, v.serial, folderPart(folder, volumes.isVolumeRoot(folder)));
}

namespace {

Status openCatalogue(CatalogueReader& reader, const std::string& path)
{
    auto source = files::openSource(path);
    if (!source)
        return source.error();
    return reader.open(std::move(*source));
}

} // namespace

Result<Catalogue> readCatalogue(const std::string& path)
{
    CatalogueReader reader;
    if (auto st = openCatalogue(reader, path); !st)
        return st.error();
    Catalogue c;
    LineCoding read = LineCoding::Undecided;
    const auto pass = [&](LineCoding coding) -> Status {
        c.entries.clear();
        read = coding;
        return {};
    };
    const auto take = [&](std::string_view lines, LineCoding coding) -> Result<bool> {
        if (coding == LineCoding::Undecided && !encoding::isValidUtf8(lines))
            return false;
        forEachLine(lines, [&](std::string_view line) {
            if (std::string entry = decodeLine(line, coding); !entryTooLong(entry))
                c.entries.push_back(std::move(entry));
        });
        return true;
    };
    if (auto st = readCatalogueLines(reader, pass, take); !st)
        return st.error();
    c.title = decodeTitleLine(reader.title(), read);
    return c;
}

StoredComparison compareWithStored(
    const std::string& path, const std::vector<std::string>& scanned, const std::vector<std::string>& unreadableFolders)
{
    StoredComparison comparison;
    // A small buffer: the catalogue is compared as it is read, never held.
    CatalogueReader reader(std::size_t(16) << 10);
    ScanComparison compare(scanned, unreadableFolders);
    const auto pass = [&compare](LineCoding) -> Status {
        compare.restart();
        return {};
    };
    const auto take = [&compare](std::string_view lines, LineCoding coding) -> Result<bool> {
        if (coding == LineCoding::Undecided && !encoding::isValidUtf8(lines))
            return false;
        for (std::string_view rest = lines; !rest.empty();) {
            const std::size_t nl = rest.find('\n');
            std::string_view line = rest.substr(0, nl);
            rest.remove_prefix(nl == std::string_view::npos ? rest.size() : nl + 1);
            if (line.ends_with('\r'))
                line.remove_suffix(1);
            if (entryTooLong(line))
                continue; // as readCatalogue passes it over
            if (coding == LineCoding::Windows1252)
                compare.take(decodeLine(line, coding));
            else
                compare.take(line);
        }
        return true;
    };
    Status read = openCatalogue(reader, path);
    if (read)
        read = readCatalogueLines(reader, pass, take);
    if (!read) {
        comparison.error = read.error();
        return comparison;
    }
    comparison.compared = true;
    comparison.changes = compare.finish();
    return comparison;
}

std::string comparisonSummary(const StoredComparison& comparison)
{
    if (!comparison.compared)
        return std::string(kNotComparedLine) + " (" + comparison.error.description + ")";
    return changesSummary(comparison.changes);
}

Result<std::string> readCatalogueTitle(const std::string& path)
{
    CatalogueReader reader(kMaxTitleBytes + 16);
    if (auto st = openCatalogue(reader, path); !st)
        return st.error();
    return decodeTitle(reader.title());
}

Result<std::vector<std::string>> pageCataloguePaths(const std::string& folder, const std::string& user)
{
    // The same catalogues as the list: "Anna" does not get "Annalisa"'s.
    auto names = catalogueFiles(folder, user);
    if (!names)
        return names.error();
    const std::string p = withSlash(folder);
    for (std::string& name : *names)
        name.insert(0, p);
    return names;
}

Status writeCatalogue(const std::string& folder, const std::string& name, const Catalogue& catalogue)
{
    return files::replaceFile(withSlash(folder) + name, catalogueBytes(catalogue));
}

SavedScan askToSave(const VolumeReader& volumes, const std::string& folder, const std::string& user,
    const std::string& root, const std::string& title, const std::vector<std::string>& entries,
    const OverwriteQuestion& overwrite, const std::vector<std::string>& unreadableFolders)
{
    SavedScan saved;
    saved.name = catalogueNameFor(volumes, root, user);
    saved.title = title;
    const std::string full = withSlash(folder) + saved.name;
    if (files::fileExists(full)) {
        auto stored = readCatalogueTitle(full);
        if (!stored) {
            saved.step = SavedScan::Step::StoredTitleUnreadable;
            saved.error = stored.error();
            return saved;
        }
        const bool untitled = title == kAnonymousTitle;
        if (untitled)
            saved.title = *stored;
        if (!overwrite(saved.name, *stored, untitled, compareWithStored(full, entries, unreadableFolders)))
            saved.step = SavedScan::Step::Declined;
    }
    return saved;
}

void writeSaved(SavedScan& saved, const VolumeReader& volumes, const std::string& folder, const std::string& root,
    std::vector<std::string> entries, const DataRequest* data)
{
    const Catalogue catalogue{saved.title, std::move(entries)};
    Status written = data ? writeCatalogueWithData(folder, saved.name, catalogue, volumes, root, *data)
                          : writeCatalogue(folder, saved.name, catalogue);
    if (written && !data)
        written = removeSideFiles(folder, saved.name);
    if (!written) {
        const bool stopped = data && data->progress && data->progress->stop;
        saved.step = stopped ? SavedScan::Step::Stopped : SavedScan::Step::WriteFailed;
        saved.error = written.error();
    }
}

SavedScan saveScan(const VolumeReader& volumes, const std::string& folder, const std::string& user,
    const std::string& root, const std::string& title, std::vector<std::string> entries,
    const OverwriteQuestion& overwrite, const std::vector<std::string>& unreadableFolders, const DataRequest* data)
{
    SavedScan saved = askToSave(volumes, folder, user, root, title, entries, overwrite, unreadableFolders);
    if (saved.step == SavedScan::Step::Written)
        writeSaved(saved, volumes, folder, root, std::move(entries), data);
    return saved;
}

Result<WrittenPage> writeDatabasePage(const std::string& folder, const std::vector<std::string>& catalogues,
    const PageRequest& request, const PageProgress& progress)
{
    WrittenPage page;
    const Status written = files::replaceFile(joinPath(folder, request.pageName()), [&](ByteSink& sink) -> Status {
        auto made = makeDatabasePage(sink, catalogues, files::openSource, request, progress, readCatalogueData);
        if (!made)
            return made.error();
        page = std::move(*made);
        return {};
    });
    if (!written)
        return written.error();
    page.path = joinPath(folder, request.pageName());
    return page;
}

Result<WrittenPocket> writePocketPage(
    const std::string& folder, const std::vector<std::string>& catalogues, const PageProgress& progress)
{
    WrittenPocket written{joinPath(folder, kPocketPageName), {}};
    const Status st = files::replaceFile(written.path, [&](ByteSink& sink) -> Status {
        // A side file that cannot be read leaves its catalogue's files without data.
        const SideRows rows = [](const std::string& path, const std::function<void(TrackData &&)>& take) {
            (void)forEachSideRow(path, take);
        };
        auto made = makePocketPage(sink, catalogues, files::openSource, progress, rows);
        if (!made)
            return made.error();
        written.summary = *made;
        return {};
    });
    if (!st)
        return st.error();
    return written;
}

Result<std::string> writeExportPage(const std::string& folder, std::string_view title,
    const std::vector<std::string>& entries, const std::string& cataloguePath)
{
    const std::string path = joinPath(folder, kExportPageName);
    const CatalogueData data = cataloguePath.empty() ? CatalogueData{} : readCatalogueData(cataloguePath);
    if (auto st = files::replaceFile(path, exportPage(title, entries, &data)); !st)
        return st.error();
    return path;
}

Result<std::string> writeCataloguePage(const std::string& folder, const std::string& cataloguePath)
{
    CatalogueReader reader;
    if (auto st = openCatalogue(reader, cataloguePath); !st)
        return st.error();
    const std::string path = joinPath(folder, kExportPageName);
    const CatalogueData data = readCatalogueData(cataloguePath);
    if (auto st = files::replaceFile(path, [&](ByteSink& sink) { return makeCataloguePage(sink, reader, &data); }); !st)
        return st.error();
    return path;
}

} // namespace zondari::cataloguestore
