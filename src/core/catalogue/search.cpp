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
    if (auto st = readCatalogueLines(reader, pass, take); !st)
        return st;
    page.endCatalogue(out);
    return file.flush(out);
}

} // namespace

std::string noHitMessage(const std::string& text)
{
    return "Non trovato nessun file musicale contenente la stringa : " + text;
}

Status makeCataloguePage(ByteSink& sink, CatalogueReader& reader)
{
    PageOut file(sink);
    ExportPage page;
    std::string out;
    page.begin(out);
    if (auto st = addCatalogueFile(reader, page, file, out); !st)
        return st;
    page.end(out);
    return file.flush(out, true);
}

Status forEachCatalogue(const std::vector<std::string>& catalogues, const SourceOpener& open,
    const PageProgress& progress, const std::function<Status(const std::string& path, CatalogueReader& reader)>& add)
{
    CatalogueReader reader;
    for (std::size_t i = 0; i < catalogues.size(); ++i) {
        auto source = open(catalogues[i]);
        if (!source)
            return source.error();
        if (auto st = reader.open(std::move(*source)); !st)
            return st;
        if (auto st = add(catalogues[i], reader); !st)
            return st;
        if (progress)
            progress(i + 1, catalogues.size());
    }
    return {};
}

Result<long> makeDatabasePage(ByteSink& sink, const std::vector<std::string>& catalogues, const SourceOpener& open,
    const PageRequest& request, const PageProgress& progress)
{
    PageOut file(sink);
    DatabasePage page(request);
    std::string out;
    page.begin(out);
    if (auto st = forEachCatalogue(catalogues, open, progress,
            [&](const std::string&, CatalogueReader& reader) { return addCatalogueFile(reader, page, file, out); });
        !st)
        return st.error();
    page.end(out);
    if (auto st = file.flush(out, true); !st)
        return st.error();
    return page.hits();
}

} // namespace zondari::catalogue
