// The page writers fed what the catalogue reader read: "default.htm", the
// general database page, the search page and the pocket catalogue. The input
// is a search text's length and text, then two catalogue files split at
// their middle.

#include "core/catalogue/pages.h"

#include <algorithm>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <string>
#include <string_view>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/pocket.h"
#include "core/common/encoding.h"
#include "fuzzcheck.h"

using namespace zondari;
using namespace zondari::catalogue;

namespace {

struct Pages {
    std::string exported, database, search, pocket;
};

Pages write(const std::string& first, const std::string& second, const PageRequest& searchRequest)
{
    Pages p;
    const Catalogue c = parseCatalogue(first);
    p.exported = exportPage(c.title, c.entries);
    for (auto [request, out] : {std::pair{PageRequest{}, &p.database}, std::pair{searchRequest, &p.search}}) {
        DatabasePage page(request);
        page.begin(*out);
        page.addCatalogue(first, *out);
        page.addCatalogue(second, *out);
        page.end(*out);
    }
    StringSink sink;
    FUZZ_CHECK(makePocketPage(sink, {"1", "2"}, [&](const std::string& name) -> Result<std::unique_ptr<ByteSource>> {
        return std::unique_ptr<ByteSource>(std::make_unique<StringSource>(name == "1" ? first : second));
    }));
    p.pocket = sink.bytes();
    return p;
}

std::size_t count(const std::string& s, char c)
{
    return static_cast<std::size_t>(std::count(s.begin(), s.end(), c));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    PageRequest request;
    // The windows hand the search text over as UTF-8 (Qt's text), so it is
    // made valid here; raw bytes from a command line are another matter.
    request.text = encoding::decodeText(in.ConsumeRandomLengthString(24));
    request.caseSensitive = in.ConsumeBool();
    request.folders = in.ConsumeBool();
    // The search text holds no "<", and nothing the stand-in "x" below could
    // be taken for.
    std::erase_if(request.text, [](char c) { return c == '<' || c == 'x' || c == 'X'; });
    if (request.text.size() < 2)
        request.text = "mp";
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const std::string first = rest.substr(0, rest.size() / 2);
    const std::string second = rest.substr(rest.size() / 2);

    const Pages pages = write(first, second, request);
    for (const std::string* page : {&pages.exported, &pages.database, &pages.search, &pages.pocket})
        FUZZ_CHECK(encoding::isValidUtf8(*page));

    // No "<" on a page comes from a catalogue: with every "<" of the
    // catalogues made an "x", each page has as many as before.
    auto plain = [](std::string s) {
        std::replace(s.begin(), s.end(), '<', 'x');
        return s;
    };
    const Pages stand = write(plain(first), plain(second), request);
    FUZZ_CHECK(count(pages.exported, '<') == count(stand.exported, '<'));
    FUZZ_CHECK(count(pages.database, '<') == count(stand.database, '<'));
    FUZZ_CHECK(count(pages.search, '<') == count(stand.search, '<'));
    FUZZ_CHECK(count(pages.pocket, '<') == count(stand.pocket, '<'));
    return 0;
}
