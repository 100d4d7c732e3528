#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "core/catalogue/sidefile.h"
#include "core/common/result.h"

// What a scan with data reads of one catalogued file.
namespace zondari::cataloguestore {

// Whether a file is analysed as an MP3: its name ends in ".mp3", in any
// letter case, as the player lists it.
bool isMp3Name(std::string_view path);

// The row of the file at `path`: its size and date; for an MP3 its play
// time, bit rate, sampling rate and channel mode as the details window gives
// them, and its tags (each field from ID3v2, else from ID3v1), and the bytes
// of its frames. With `fingerprint`, the XXH3-128 hash of those frames,
// read whole; `bytesRead` then grows as they are read. A file that cannot
// be opened or read gives its error.
Result<catalogue::TrackData> readTrackData(
    const std::string& path, bool fingerprint, std::atomic<std::uint64_t>* bytesRead = nullptr);

} // namespace zondari::cataloguestore
