#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The four bytes that open every MPEG audio frame, cut into their fields.
namespace zondari::mp3 {

// The header's fields, by bit position (bit 31 first):
//   AAAAAAAA AAABBCCD EEEEFFGH IIJJKLMM
//   A sync, B version, C layer, D protection, E bit-rate index,
//   F sampling-rate index, G padding, H private, I channel mode,
//   J mode extension, K copyright, L original, M emphasis.
struct FrameHeader {
    int versionCode = 0;
    int layerCode = 0;
    int protectionBit = 0;
    int bitRateIndex = 0;
    int sampleRateIndex = 0;
    int paddingBit = 0;
    int privateBit = 0;
    int channelModeCode = 0;
    int modeExtension = 0;
    int copyrightBit = 0;
    int originalBit = 0;
    int emphasisCode = 0;

    int version() const; // 1, 2, 25; 0 for the reserved code
    int layer() const; // 1, 2, 3; 0 for the reserved code
    int sampleRate() const; // Hz; 0 for the reserved index or version
    int tableBitRate() const; // kbit/s; 0 for free format, index 15 or a reserved code
    int samplesPerFrame() const;
    bool singleChannel() const { return channelModeCode == 3; }
};

FrameHeader splitHeader(std::uint32_t word);

// The four bytes at `p` as one big-endian word.
std::uint32_t wordAt(const unsigned char* p);

// A header a frame can start with: 11 sync bits, version and layer not
// reserved, bit-rate index not 15, sampling-rate index not 3.
bool isValidHeader(std::uint32_t word);

// The frame's length in bytes from its table bit rate (0 for free format).
std::uint32_t frameLength(const FrameHeader& h);

// Bytes of one padding slot: 4 in layer I, 1 otherwise.
int paddingSlot(const FrameHeader& h);

const std::string& channelModeText(int code);
const std::string& emphasisText(int code);

} // namespace zondari::mp3
