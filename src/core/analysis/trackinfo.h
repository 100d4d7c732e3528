#pragma once

#include <cstdint>
#include <string>

namespace zondari {

// The last analysed track: its first frame header, its VBR header, its play
// time and its ID3v1 tag. Every analysis starts from a cleared record, so a
// file that yields nothing shows empty or 0 fields, never another track's.
struct TrackInfo {
    std::int32_t BitRate = 0; // kbit/s; a VBR file's average
    std::int32_t SampleRate = 0; // Hz; 0 when the index has no entry
    std::string ChannelMode; // "stereo", "joint stereo", "dual channel", "single channel"
    std::string Emphasis; // "no", "50/15", "reserved", "CCITT J 17"
    std::int16_t Version = 0; // 1, 2, 25 (MPEG 2.5); 0 when no frame was found
    std::int16_t Layer = 0; // 1, 2, 3
    std::string Padding; // "sì" / "no"
    std::string Crc; // "sì" when a CRC follows the header
    std::int32_t Duration = 0; // play time in whole seconds
    std::string Copyright;
    std::string Original;
    std::string Private;
    bool HasTag = false; // an ID3v1 tag ends the file
    std::string Title, Artist, Album, Year, Comment;
    std::int16_t Genre = 255; // ID3v1 genre byte; 255 without a tag
    std::string Track; // the character at ID3v1 offset 126
    bool IsVbr = false; // a "Xing" or "VBRI" header marks the file
    std::uint32_t VbrFrames = 0; // frame count of the VBR header
    bool operator==(const TrackInfo&) const = default;
};

} // namespace zondari
