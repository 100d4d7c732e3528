// zondari-cli esporta [--csv] [-o FILE] [CATALOGO...]: the data of the
// catalogues as one table; zondari-cli doppioni: the same music found in
// more than one place.

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "cli/catalogueplace.h"
#include "cli/commands.h"
#include "cli/pagescommon.h"
#include "core/analysis/mp3analysis.h"
#include "core/catalogue/sidefile.h"
#include "core/common/escape.h"
#include "core/common/paths.h"
#include "platform/cataloguestore.h"
#include "platform/files.h"

namespace zondari::cli {
namespace {

namespace cat = catalogue;

// A catalogue's title and the rows of its entries, in the side file's order.
template <class Each> bool eachRow(const std::string& path, Each each)
{
    const auto catalogue = cataloguestore::readCatalogue(path);
    if (!catalogue) {
        std::fprintf(stderr, "zondari-cli: impossibile leggere \"%s\": %s.\n", text::terminalText(path).c_str(),
            catalogue.error().description.c_str());
        return false;
    }
    const std::unordered_set<std::string> entries(catalogue->entries.begin(), catalogue->entries.end());
    const auto read = cataloguestore::forEachSideRow(path, [&](cat::TrackData&& row) {
        if (entries.count(row.entry))
            each(catalogue->title, row);
    });
    if (!read) {
        std::fprintf(stderr, "zondari-cli: impossibile leggere i dati di \"%s\": %s.\n",
            text::terminalText(path).c_str(), read.error().description.c_str());
        return false;
    }
    return true;
}

// The catalogues named on the line (a path, or a name in the program
// folder), or all of the user's.
bool cataloguePaths(const Args& args, std::vector<std::string>& paths)
{
    CataloguePlace place;
    if (!locateCatalogues(place))
        return false;
    if (args.operands().empty()) {
        auto all = cataloguestore::pageCataloguePaths(place.programFolder, place.user);
        if (!all) {
            failWith(all.error().description);
            return false;
        }
        paths = std::move(*all);
        return true;
    }
    for (std::string path : args.operands()) {
        if (!files::fileExists(path) && path.find('/') == std::string::npos)
            path = withSlash(place.programFolder) + path;
        if (!files::fileExists(path)) {
            std::fprintf(stderr, "zondari-cli: catalogo \"%s\" non trovato.\n", text::terminalText(path).c_str());
            return false;
        }
        paths.push_back(path);
    }
    return true;
}

// RFC 4180: a field holding a comma, a quote or a line end is quoted, its
// quotes doubled.
std::string csvField(const std::string& f)
{
    if (f.find_first_of(",\"\r\n") == std::string::npos)
        return f;
    std::string out = "\"";
    for (char c : f)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string tableLine(const std::vector<std::string>& fields, bool csv)
{
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? (csv ? "," : "\t") : "") + (csv ? csvField(fields[i]) : fields[i]);
    return out + (csv ? "\r\n" : "\n");
}

// The table into `sink`: the catalogue's title, then the side file's fields,
// as the side file writes them (the same cells in either form).
Status writeTable(ByteSink& sink, const std::vector<std::string>& paths, bool csv, bool& allRead)
{
    std::vector<std::string> header = {"catalogo"};
    for (std::string_view c : cat::sideColumns())
        header.emplace_back(c);
    Status written = sink.write(tableLine(header, csv));
    std::string block;
    for (const std::string& path : paths) {
        allRead = eachRow(path, [&](const std::string& title, const cat::TrackData& row) {
            std::vector<std::string> fields = cat::sideFields(row);
            fields.insert(fields.begin(), cat::escapeField(title));
            block += tableLine(fields, csv);
            if (block.size() >= (64 << 10) && written) {
                written = sink.write(block);
                block.clear();
            }
        }) && allRead;
    }
    if (written)
        written = sink.write(block);
    return written;
}

class StdoutSink : public ByteSink {
public:
    Status write(std::string_view bytes) override
    {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
            return lastErrorOf();
        size_ += bytes.size();
        return {};
    }
    Status truncate(std::uint64_t) override { return {}; }
    std::uint64_t size() const override { return size_; }

private:
    static RuntimeError lastErrorOf() { return runtimeErrorFromErrno(errno); }
    std::uint64_t size_ = 0;
};

struct Copy {
    std::string title, entry;
};

} // namespace

int runExport(const Args& args)
{
    std::vector<std::string> paths;
    if (!cataloguePaths(args, paths))
        return 1;
    const bool csv = args.has("--csv");
    bool allRead = true;
    Status written;
    if (const auto out = args.value("-o")) {
        written = files::replaceFile(*out, [&](ByteSink& sink) { return writeTable(sink, paths, csv, allRead); });
    } else {
        StdoutSink sink;
        written = writeTable(sink, paths, csv, allRead);
        if (written && std::fflush(stdout) != 0)
            written = runtimeErrorFromErrno(errno);
    }
    if (!written)
        return failWith(written.error().description);
    return allRead ? 0 : 1;
}

int runDuplicates(const Args& args)
{
    std::vector<std::string> paths;
    if (!cataloguePaths(args, paths))
        return 1;
    // By fingerprint where the scan took one; else by the bytes of the
    // frames and the play time, which copies share too but other music
    // rarely does.
    std::map<std::string, std::vector<Copy>> same;
    std::map<std::pair<std::uint64_t, std::int32_t>, std::vector<Copy>> probable;
    for (const std::string& path : paths) {
        eachRow(path, [&](const std::string& title, const cat::TrackData& row) {
            if (!row.fingerprint.empty())
                same[row.fingerprint].push_back({title, row.entry});
            else if (row.audioBytes > 0)
                probable[{row.audioBytes, row.seconds}].push_back({title, row.entry});
        });
    }
    struct Group {
        std::string heading;
        const std::vector<Copy>* copies;
    };
    std::vector<Group> groups;
    for (const auto& [fingerprint, copies] : same)
        if (copies.size() > 1)
            groups.push_back({std::to_string(copies.size()) + " file, stessa impronta audio " + fingerprint, &copies});
    for (const auto& [key, copies] : probable)
        if (copies.size() > 1)
            groups.push_back({std::to_string(copies.size()) + " file, probabile (" + cat::groupedNumber(key.first)
                    + " byte audio, " + mp3::durationText(key.second) + ")",
                &copies});
    if (groups.empty()) {
        std::fprintf(stderr, "zondari-cli: nessun doppione trovato.\n");
        return 1;
    }
    std::stable_sort(groups.begin(), groups.end(),
        [](const Group& a, const Group& b) { return a.copies->size() > b.copies->size(); });
    std::string out;
    for (const Group& g : groups) {
        out += (out.empty() ? "" : "\n") + g.heading + ":\n";
        for (const Copy& c : *g.copies)
            out += "  " + text::terminalText(c.title) + "\t" + text::terminalText(c.entry) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

} // namespace zondari::cli
