// The catalogue file reader, and a catalogue written then read again.

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/entry.h"
#include "core/common/encoding.h"
#include "fuzzcheck.h"

using namespace zondari;
using namespace zondari::catalogue;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Catalogue read = parseCatalogue(bytes);
    FUZZ_CHECK(encoding::isValidUtf8(read.title));
    // Only a marked file holds names' own bytes.
    const bool marked = bytes.starts_with(kRawNamesMark);
    for (const std::string& e : read.entries)
        FUZZ_CHECK(e.find('\n') == std::string::npos && (marked || encoding::isValidUtf8(e)));

    // Written and read back: the same title and entries, but for the line
    // breaks a file cannot hold (a title's become spaces, such entries are
    // left out).
    const Catalogue again = parseCatalogue(catalogueBytes(read));
    std::string title = read.title;
    std::replace(title.begin(), title.end(), '\r', ' ');
    std::vector<std::string> entries;
    for (const std::string& e : read.entries)
        if (!hasLineBreak(e))
            entries.push_back(e);
    FUZZ_CHECK(again.title == title);
    FUZZ_CHECK(again.entries == entries);

    for (const std::string& e : read.entries) {
        const std::string name = fileNameOf(e);
        FUZZ_CHECK(name.size() <= e.size());
        (void)isFolderEntry(e);
    }
    return 0;
}
