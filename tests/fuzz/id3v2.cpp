// The ID3v2 reader seam: the bytes at a file's start handed to TagLib the
// way readId3v2 hands them, then the rules that show and copy the tag.

#include "core/tags/id3v2.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/common/encoding.h"
#include "fuzzcheck.h"
#include "platform/id3v2file.h"

using namespace zondari;

namespace {

bool oneLineUtf8(const std::string& s)
{
    return encoding::isValidUtf8(s) && std::ranges::none_of(s, [](unsigned char c) { return c < 0x20; });
}

// At most `n` characters once in Windows-1252.
bool fits(const std::string& s, std::size_t n)
{
    return encoding::utf8ToCp1252Lossy(s).size() <= n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const Id3v2Tag tag = id3v2file::fromBytes(bytes);
    FUZZ_CHECK(tag.version == 0 || (tag.version >= 2 && tag.version <= 4));
    // Only bytes that open with "ID3" are a tag.
    FUZZ_CHECK(!tag.present() || bytes.rfind("ID3", 0) == 0);
    for (const std::string& value : id3v2::fieldValues(tag))
        FUZZ_CHECK(oneLineUtf8(value));
    FUZZ_CHECK(tag.present() || (tag.title.empty() && tag.genre.empty()));
    FUZZ_CHECK(tag.genreNumber >= -1 && tag.genreNumber <= 255);

    const tageditor::Fields f = id3v2::toEditorFields(tag);
    FUZZ_CHECK(fits(f.title, 30) && fits(f.artist, 30) && fits(f.album, 30) && fits(f.year, 4) && fits(f.comment, 29));
    FUZZ_CHECK(f.genre >= -1 && f.genre < static_cast<int>(tageditor::kGenreCount));

    // The genre rule on the raw text as well.
    const auto genre = id3v2::genreFromText(bytes.substr(0, 64));
    FUZZ_CHECK(genre.number >= -1 && genre.number <= 255);
    return 0;
}
