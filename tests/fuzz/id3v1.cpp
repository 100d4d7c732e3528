// The ID3v1 record and the tag editor's load and save rules. The input is a
// record (its first 128 bytes) and then the editor's fields.

#include "core/tags/id3v1.h"

#include <fuzzer/FuzzedDataProvider.h>

#include "core/common/encoding.h"
#include "core/common/text.h"
#include "core/tags/tageditor.h"
#include "fuzzcheck.h"

using namespace zondari;

namespace {

// What a field shows after a save and a load: Windows-1252 ("?" for what
// does not fit), cut to the field's length, up to its first NUL, without
// trailing spaces.
std::string afterSave(const std::string& text, std::size_t length)
{
    std::string bytes = encoding::utf8ToCp1252Lossy(text).substr(0, length);
    bytes = bytes.substr(0, bytes.find('\0'));
    return text::trimRightSpaces(encoding::cp1252ToUtf8(bytes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string tail = in.ConsumeBytesAsString(kTagSize);
    const auto exact = id3v1::decode(tail);
    const auto loose = id3v1::decode(tail, true);
    FUZZ_CHECK(!exact || loose);
    if (loose) {
        FUZZ_CHECK(encoding::isValidUtf8(loose->Title) && encoding::isValidUtf8(loose->Comment));
        FUZZ_CHECK(encoding::utf8ToCp1252(loose->Title).value_or("").size() == 30);
    }

    tageditor::Fields fields;
    fields.title = in.ConsumeRandomLengthString(80);
    fields.artist = in.ConsumeRandomLengthString(80);
    fields.album = in.ConsumeRandomLengthString(80);
    fields.year = in.ConsumeRandomLengthString(16);
    fields.comment = in.ConsumeRandomLengthString(80);
    fields.genre = in.ConsumeIntegralInRange<int>(-1, 300);

    const TagRecord saved = tageditor::toSave(fields, exact);
    const std::string record = id3v1::encode(saved);
    FUZZ_CHECK(record.size() == kTagSize);
    const auto back = id3v1::decode(record);
    FUZZ_CHECK(back.has_value());
    const tageditor::Fields loaded = tageditor::fromTag(*back);
    FUZZ_CHECK(loaded.title == afterSave(fields.title, 30));
    FUZZ_CHECK(loaded.artist == afterSave(fields.artist, 30));
    FUZZ_CHECK(loaded.album == afterSave(fields.album, 30));
    FUZZ_CHECK(loaded.year == afterSave(fields.year, 4));
    FUZZ_CHECK(loaded.comment == afterSave(fields.comment, 29));

    // The genre chosen, else the file's own; the file's track number.
    const bool chosen = fields.genre >= 0 && fields.genre < static_cast<int>(tageditor::kGenreCount);
    const int fileGenre = exact ? exact->GenreByte : 255;
    FUZZ_CHECK(back->GenreByte == (chosen ? fields.genre : fileGenre));
    FUZZ_CHECK(back->TrackByte == (exact ? exact->TrackByte : 0));
    FUZZ_CHECK(loaded.genre == (back->GenreByte < tageditor::kGenreCount ? back->GenreByte : -1));

    (void)FileNamePart(fields.title);
    (void)tageditor::forUntagged(fields.comment);
    return 0;
}
