#include "core/catalogue/search.h"

#include <cstdint>
#include <utility>

#include "core/catalogue/pageout.h"
#include "core/common/encoding.h"
#include "core/common/paths.h"

namespace zondari::catalogue {
namespace {

// Adds one catalogue file to `page`. Read again as Windows-1252 (see
// readCatalogueLines), its lines already on the page are taken off first.
template <class Page> Status addCatalogueFile(CatalogueReader& reader, Page& page, PageOut& file, std::string& out)
{
    const std::uint64_t start = file.position(out);
    long hits = 0;
    if constexpr (requires { page.hits(); })
        hits = page.hits();
    bool again = false;
    const auto pass = [&](LineCoding coding) -> Status {
        if (std::exchange(again, true)) {
            if (auto st = file.rewind(start, out); !st)
                return st;
            if constexpr (requires { page.restoreHits(hits); })
                page.restoreHits(hits);
        }
        page.beginCatalogue(reader.title(), coding, out);
        return {};
    };
    const auto take = [&](std::string_view lines, LineCoding coding) -> Result<bool> {
        if (!page.addLines(lines, coding, out))
            return false;
        if (auto st = file.flush(out); !st)
            return st.error();
        return true;
    };
    if (auto st = readCatalogueLines(reader, pass, take); !st) {
        if (reader.failed()) {
            // Left out: the page goes back to where the catalogue began.
            if (auto back = file.rewind(start, out); !back)
                return back;
            if constexpr (requires { page.restoreHits(hits); })
                page.restoreHits(hits);
        }
        return st;
    }
    page.endCatalogue(out);
    return file.flush(out);
}

} // namespace

std::string noHitMessage(const std::string& text)
{
    return "Non trovato nessun file musicale contenente la stringa : " + text;
}

Status makeCataloguePage(ByteSink& sink, CatalogueReader& reader, const CatalogueData* data)
{
    PageOut file(sink);
    ExportPage page;
    page.setData(data);
    std::string out;
    page.begin(out);
    if (auto st = addCatalogueFile(reader, page, file, out); !st)
        return st;
    page.end(out);
    return file.flush(out, true);
}

std::string leftOutMessage(const std::vector<UnreadCatalogue>& leftOut)
{
    std::string text = leftOut.size() == 1
        ? "Questo catalogo non si può leggere ed è stato lasciato fuori:"
        : "Questi " + std::to_string(leftOut.size()) + " cataloghi non si possono leggere e sono stati lasciati fuori:";
    for (const UnreadCatalogue& c : leftOut)
        text += "\n" + c.path + " (" + c.error.description + ")";
    return text;
}

Result<std::vector<UnreadCatalogue>> forEachCatalogue(const std::vector<std::string>& catalogues,
    const SourceOpener& open, const PageProgress& progress,
    const std::function<Status(const std::string& path, CatalogueReader& reader)>& add)
{
    std::vector<UnreadCatalogue> leftOut;
    CatalogueReader reader;
    for (std::size_t i = 0; i < catalogues.size(); ++i) {
        auto source = open(catalogues[i]);
        Status st = source ? reader.open(std::move(*source)) : Status(source.error());
        if (st)
            st = add(catalogues[i], reader);
        if (!st && source && !reader.failed())
            return st.error(); // the page's own failure
        if (!st)
            leftOut.push_back({catalogues[i], st.error()});
        if (progress)
            progress(i + 1, catalogues.size());
    }
    return leftOut;
}

Result<WrittenPage> makeDatabasePage(ByteSink& sink, const std::vector<std::string>& catalogues,
    const SourceOpener& open, const PageRequest& request, const PageProgress& progress,
    const CatalogueDataReader& readData)
{
    PageOut file(sink);
    DatabasePage page(request);
    std::string out;
    page.begin(out);
    auto leftOut = forEachCatalogue(catalogues, open, progress, [&](const std::string& path, CatalogueReader& reader) {
        // One catalogue's data at a time, dropped when it is on the page.
        const CatalogueData data = readData ? readData(path) : CatalogueData{};
        page.setData(&data);
        Status added = addCatalogueFile(reader, page, file, out);
        page.setData(nullptr);
        return added;
    });
    if (!leftOut)
        return leftOut.error();
    page.end(out);
    if (auto st = file.flush(out, true); !st)
        return st.error();
    return WrittenPage{{}, page.hits(), std::move(*leftOut)};
}

} // namespace zondari::catalogue
