// The pocket catalogue made from two catalogue files (the input split at its
// middle), as the catalogue reader reads them. Like every page, it must be
// UTF-8, and no "<" on it may come from a catalogue: the entries' "<" are
// escaped in its data, so it has as many as the same page made with each of
// them replaced.

#include "core/catalogue/pocket.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "core/common/bytesink.h"
#include "core/common/bytesource.h"
#include "core/common/encoding.h"
#include "fuzzcheck.h"

using namespace zondari;
using namespace zondari::catalogue;

namespace {

std::string pocketPage(const std::string& first, const std::string& second)
{
    StringSink sink;
    const auto made
        = makePocketPage(sink, {"1", "2"}, [&](const std::string& name) -> Result<std::unique_ptr<ByteSource>> {
              return std::unique_ptr<ByteSource>(std::make_unique<StringSource>(name == "1" ? first : second));
          });
    FUZZ_CHECK(bool(made));
    return sink.bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string in(reinterpret_cast<const char*>(data), size);
    const std::string first = in.substr(0, in.size() / 2);
    const std::string second = in.substr(in.size() / 2);
    const std::string page = pocketPage(first, second);
    FUZZ_CHECK(encoding::isValidUtf8(page));

    auto plain = [](std::string s) {
        std::replace(s.begin(), s.end(), '<', 'x');
        return s;
    };
    const std::string stand = pocketPage(plain(first), plain(second));
    FUZZ_CHECK(std::count(page.begin(), page.end(), '<') == std::count(stand.begin(), stand.end(), '<'));
    return 0;
}
