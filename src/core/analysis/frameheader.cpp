#include "core/analysis/frameheader.h"

namespace zondari::mp3 {
namespace {

// Version by the 2-bit version code: 00 MPEG 2.5, 01 reserved, 10 MPEG 2, 11 MPEG 1.
constexpr std::array<int, 4> kVersions = {25, 0, 2, 1};
// Layer by the 2-bit layer code: 00 reserved, 01 III, 10 II, 11 I.
constexpr std::array<int, 4> kLayers = {0, 3, 2, 1};

// Sampling rate in Hz by the 2-bit index (3 has no entry), one row per version.
constexpr std::array<int, 3> kRatesMpeg1 = {44100, 48000, 32000};
constexpr std::array<int, 3> kRatesMpeg2 = {22050, 24000, 16000};
constexpr std::array<int, 3> kRatesMpeg25 = {11025, 12000, 8000};

// Bit rate in kbit/s by the 4-bit index 0-14 (0 is free format), one row per
// version and layer.
using BitRateRow = std::array<int, 15>;
constexpr BitRateRow kMpeg1Layer1 = {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
constexpr BitRateRow kMpeg1Layer2 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr BitRateRow kMpeg1Layer3 = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr BitRateRow kMpeg2Layer1 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
constexpr BitRateRow kMpeg2Layer23 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

const std::array<std::string, 4> kChannelModes = {"stereo", "joint stereo", "dual channel", "single channel"};
const std::array<std::string, 4> kEmphasis = {"no", "50/15", "reserved", "CCITT J 17"};

} // namespace

FrameHeader splitHeader(std::uint32_t w)
{
    FrameHeader h;
    h.versionCode = static_cast<int>((w >> 19) & 3);
    h.layerCode = static_cast<int>((w >> 17) & 3);
    h.protectionBit = static_cast<int>((w >> 16) & 1);
    h.bitRateIndex = static_cast<int>((w >> 12) & 15);
    h.sampleRateIndex = static_cast<int>((w >> 10) & 3);
    h.paddingBit = static_cast<int>((w >> 9) & 1);
    h.privateBit = static_cast<int>((w >> 8) & 1);
    h.channelModeCode = static_cast<int>((w >> 6) & 3);
    h.modeExtension = static_cast<int>((w >> 4) & 3);
    h.copyrightBit = static_cast<int>((w >> 3) & 1);
    h.originalBit = static_cast<int>((w >> 2) & 1);
    h.emphasisCode = static_cast<int>(w & 3);
    return h;
}

std::uint32_t wordAt(const unsigned char* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

bool isValidHeader(std::uint32_t w)
{
    const FrameHeader h = splitHeader(w);
    return (w & 0xFFE00000u) == 0xFFE00000u && h.versionCode != 1 && h.layerCode != 0 && h.bitRateIndex != 15
        && h.sampleRateIndex != 3;
}

int FrameHeader::version() const
{
    return kVersions[static_cast<std::size_t>(versionCode & 3)];
}

int FrameHeader::layer() const
{
    return kLayers[static_cast<std::size_t>(layerCode & 3)];
}

int FrameHeader::sampleRate() const
{
    if (sampleRateIndex < 0 || sampleRateIndex > 2)
        return 0;
    const auto i = static_cast<std::size_t>(sampleRateIndex);
    switch (version()) {
    case 1:
        return kRatesMpeg1[i];
    case 2:
        return kRatesMpeg2[i];
    case 25:
        return kRatesMpeg25[i];
    default:
        return 0;
    }
}

int FrameHeader::tableBitRate() const
{
    if (bitRateIndex < 0 || bitRateIndex > 14)
        return 0;
    const auto i = static_cast<std::size_t>(bitRateIndex);
    const int v = version();
    const int l = layer();
    if (v == 0 || l == 0)
        return 0;
    if (v == 1)
        return l == 1 ? kMpeg1Layer1[i] : l == 2 ? kMpeg1Layer2[i] : kMpeg1Layer3[i];
    return l == 1 ? kMpeg2Layer1[i] : kMpeg2Layer23[i];
}

int FrameHeader::samplesPerFrame() const
{
    switch (layer()) {
    case 1:
        return 384;
    case 2:
        return 1152;
    case 3:
        return version() == 1 ? 1152 : 576;
    default:
        return 0;
    }
}

int paddingSlot(const FrameHeader& h)
{
    return h.layer() == 1 ? 4 : 1;
}

std::uint32_t frameLength(const FrameHeader& h)
{
    const int rate = h.sampleRate();
    const int kbps = h.tableBitRate();
    if (rate == 0 || kbps == 0)
        return 0;
    const std::uint64_t bitsPerSecond = static_cast<std::uint64_t>(kbps) * 1000;
    if (h.layer() == 1)
        return static_cast<std::uint32_t>((12 * bitsPerSecond / static_cast<std::uint64_t>(rate) + h.paddingBit) * 4);
    // Bytes per frame = samples per frame / 8 x bit rate / sampling rate.
    const auto bytesFactor = static_cast<std::uint64_t>(h.samplesPerFrame() / 8);
    return static_cast<std::uint32_t>(bytesFactor * bitsPerSecond / static_cast<std::uint64_t>(rate) + h.paddingBit);
}

const std::string& channelModeText(int code)
{
    return kChannelModes[static_cast<std::size_t>(code & 3)];
}

const std::string& emphasisText(int code)
{
    return kEmphasis[static_cast<std::size_t>(code & 3)];
}

} // namespace zondari::mp3
