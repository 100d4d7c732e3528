// The text-encoding detection and conversions, and the text rules built on
// them.

#include "core/common/encoding.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/text.h"
#include "fuzzcheck.h"

using namespace zondari;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Whatever the bytes, reading gives valid UTF-8.
    const std::string decoded = encoding::decodeText(bytes);
    FUZZ_CHECK(encoding::isValidUtf8(decoded));
    const std::string latin = encoding::cp1252ToUtf8(bytes);
    FUZZ_CHECK(encoding::isValidUtf8(latin));
    // Windows-1252 both ways is exact: every byte is one character.
    FUZZ_CHECK(encoding::utf8ToCp1252(latin) == std::string(bytes));

    // What the program writes reads back exactly.
    FUZZ_CHECK(encoding::decodeText(encoding::encodeText(decoded)) == decoded);
    FUZZ_CHECK(encoding::decodeText(encoding::encodeText(latin)) == latin);
    FUZZ_CHECK(encoding::toUtf8(encoding::toUtf32(decoded)) == decoded);
    FUZZ_CHECK(encoding::utf8ToCp1252Lossy(decoded).size() == text::charCount(decoded));
    if (encoding::isValidUtf8(bytes))
        FUZZ_CHECK(decoded == bytes);

    // Lines written and read again.
    const auto lines = text::splitLines(decoded);
    FUZZ_CHECK(text::splitLines(text::joinLines(lines)) == lines);

    // Case folding keeps text valid; the character rules stay in range.
    FUZZ_CHECK(encoding::isValidUtf8(text::toUpper(decoded)));
    FUZZ_CHECK(encoding::isValidUtf8(text::toLower(decoded)));
    const std::size_t chars = text::charCount(decoded);
    FUZZ_CHECK(text::charCount(text::leftChars(decoded, chars / 2)) == chars / 2);
    FUZZ_CHECK(encoding::isValidUtf8(text::midChars(decoded, chars / 3, chars)));
    std::vector<std::string> names{decoded, latin, decoded};
    text::sortNoCase(names);
    (void)text::roundHalfEven(text::val(bytes));
    return 0;
}
