// The reader of the data beside a catalogue, and its volume file: rows read
// whole or in pieces are the same, and each row written again reads back
// as itself.

#include "core/catalogue/sidefile.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzzcheck.h"

using namespace zondari;
using namespace zondari::catalogue;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<TrackData> whole, pieces;
    SideReader a([&whole](TrackData&& r) { whole.push_back(std::move(r)); });
    a.feed(bytes);
    const SideReadCount count = a.finish();
    SideReader b([&pieces](TrackData&& r) { pieces.push_back(std::move(r)); });
    for (std::size_t at = 0; at < bytes.size(); at += 7)
        b.feed(bytes.substr(at, 7));
    FUZZ_CHECK(b.finish().rows == count.rows);
    FUZZ_CHECK(whole.size() == pieces.size() && whole.size() == count.rows);
    for (std::size_t i = 0; i < whole.size(); ++i) {
        FUZZ_CHECK(whole[i].entry == pieces[i].entry);
        // Escapes may make a line longer than the reader takes.
        const std::string row = sideRow(whole[i]);
        if (row.size() > kMaxSideLine)
            continue;
        std::vector<TrackData> again;
        SideReader c([&again](TrackData&& r) { again.push_back(std::move(r)); });
        c.feed(sideHeader() + row);
        c.finish();
        FUZZ_CHECK(again.size() == 1 && again[0].entry == whole[i].entry && again[0].title == whole[i].title);
    }
    const VolumeData v = parseVolumeFile(bytes);
    const VolumeData back = parseVolumeFile(volumeBytes(v));
    FUZZ_CHECK(back.label == v.label && back.folder == v.folder && back.files == v.files);
    return 0;
}
