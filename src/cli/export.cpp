// zondari-cli esporta [--csv] [-o FILE] [CATALOGO...]: the data of the
// catalogues as one table; zondari-cli doppioni: the same music found in
// more than one place.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/catalogueplace.h"
#include "cli/commands.h"
#include "cli/pagescommon.h"
#include "core/catalogue/duplicates.h"
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
    const auto failed = cataloguestore::forEachCatalogueRow(path, each);
    if (failed)
        std::fprintf(stderr, "zondari-cli: impossibile leggere %s\"%s\": %s.\n", failed->data ? "i dati di " : "",
            text::terminalText(path).c_str(), failed->error.description.c_str());
    return !failed;
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
    cat::DuplicateFinder finder;
    for (const std::string& path : paths)
        eachRow(path, [&](const std::string& title, const cat::TrackData& row) { finder.add(title, row); });
    const auto groups = finder.groups();
    if (groups.empty()) {
        std::fprintf(stderr, "zondari-cli: nessun doppione trovato.\n");
        return 1;
    }
    std::string out;
    for (const cat::DuplicateGroup& g : groups) {
        out += (out.empty() ? "" : "\n") + g.heading + ":\n";
        for (const cat::DuplicateCopy& c : g.copies)
            out += "  " + text::terminalText(c.title) + "\t" + text::terminalText(c.entry) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

} // namespace zondari::cli
