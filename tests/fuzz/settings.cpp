// The settings reader, and settings saved then read again.

#include "core/shell/settings.h"

#include <cstdint>
#include <string_view>

#include "core/common/encoding.h"
#include "core/common/text.h"
#include "fuzzcheck.h"

using namespace zondari;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Settings s = parseSettings(text::splitLines(encoding::decodeText(bytes)));
    for (const std::string* v : {&s.utente, &s.filesMusicali, &s.ultimoPath}) {
        FUZZ_CHECK(encoding::isValidUtf8(*v));
        FUZZ_CHECK(v->empty() || v->front() != ' ');
    }
    // The file the save writes reads back as the same settings.
    const std::string file = encoding::encodeText(text::joinLines(settingsLines(s)));
    const Settings again = parseSettings(text::splitLines(encoding::decodeText(file)));
    FUZZ_CHECK(again.utente == s.utente);
    FUZZ_CHECK(again.filesMusicali == s.filesMusicali);
    FUZZ_CHECK(again.ultimoPath == s.ultimoPath);
    return 0;
}
