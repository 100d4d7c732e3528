#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/analysis/frameheader.h"

namespace zondari::mp3 {

// The header some encoders put into the first frame to give the stream's
// frame count.
//   "Xing" / "Info" after the side information (MPEG 1: 36 bytes from the
//   frame start, 21 for single channel; MPEG 2 and 2.5: 21, and 13 for
//   single channel), then a big-endian flags word, then the frame count
//   when flag bit 0 is set. "Xing" marks a VBR stream, "Info" a CBR one.
//   "VBRI" 36 bytes from the frame start, with the frame count at its
//   offset 14 (always present).
//   After the Xing/Info fields (the frame count when flag bit 0 is set, the
//   byte count for bit 1, a 100-byte table for bit 2, a quality word for
//   bit 3) LAME and FFmpeg write their own 36-byte tag: 9 bytes naming the
//   encoder ("LAME3.100", "Lavc59.37"), then the tag revision, the lowpass,
//   a 4-byte peak, and at its offset 15 the radio (track) replay gain, a
//   big-endian word: name code (bits 15-13, 1 for radio), originator (bits
//   12-10, 0 when none is set), sign (bit 9), tenths of a decibel (bits
//   8-0).
enum class VbrKind { None, Xing, Info, Vbri };

struct VbrHeader {
    VbrKind kind = VbrKind::None;
    std::optional<std::uint32_t> frames;
    std::optional<double> radioGainDb; // the encoder's track gain, when it wrote one

    bool marksVbr() const { return kind == VbrKind::Xing || kind == VbrKind::Vbri; }
};

// Reads the VBR header of the frame that opens `frame`. It looks at no byte
// this far from the frame's start or further: the Xing text at most 36 bytes
// in, its flags and 112 bytes of fields, then the encoder's tag up to its
// gain word.
inline constexpr std::size_t kVbrHeaderReach = 36 + 8 + 112 + 15 + 2;
VbrHeader readVbrHeader(std::string_view frame, const FrameHeader& header);

// Where the "Xing" or "Info" text stands from the frame start.
std::size_t xingOffset(const FrameHeader& header);

} // namespace zondari::mp3
