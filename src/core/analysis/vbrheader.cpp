#include "core/analysis/vbrheader.h"

namespace zondari::mp3 {
namespace {

constexpr std::size_t kVbriOffset = 36;
constexpr std::size_t kVbriFrames = 14;
constexpr std::size_t kEncoderTagGain = 15;

std::optional<std::uint32_t> wordIn(std::string_view bytes, std::size_t offset)
{
    if (offset + 4 > bytes.size())
        return std::nullopt;
    return wordAt(reinterpret_cast<const unsigned char*>(bytes.data()) + offset);
}

// The bytes of the optional Xing/Info fields that `flags` announces.
std::size_t fieldsLength(std::uint32_t flags)
{
    return (flags & 1 ? 4 : 0) + (flags & 2 ? 4 : 0) + (flags & 4 ? 100 : 0) + (flags & 8 ? 4 : 0);
}

// The radio gain of the encoder's tag that starts at `at`, when it holds one.
std::optional<double> encoderTagGain(std::string_view frame, std::size_t at)
{
    if (at + kEncoderTagGain + 2 > frame.size())
        return std::nullopt;
    const std::string_view encoder = frame.substr(at, 4);
    if (encoder != "LAME" && encoder != "Lavc" && encoder != "Lavf")
        return std::nullopt;
    const auto* b = reinterpret_cast<const unsigned char*>(frame.data()) + at + kEncoderTagGain;
    const unsigned word = (unsigned(b[0]) << 8) | b[1];
    const unsigned name = word >> 13, originator = (word >> 10) & 7, tenths = word & 0x1FF;
    if (name != 1 || originator == 0)
        return std::nullopt;
    return (word & 0x200 ? -1.0 : 1.0) * tenths / 10.0;
}

} // namespace

std::size_t xingOffset(const FrameHeader& header)
{
    if (header.version() == 1)
        return header.singleChannel() ? 21 : 36;
    return header.singleChannel() ? 13 : 21;
}

VbrHeader readVbrHeader(std::string_view frame, const FrameHeader& header)
{
    VbrHeader vbr;
    const std::size_t x = xingOffset(header);
    const std::string_view xingText = frame.size() >= x + 4 ? frame.substr(x, 4) : std::string_view{};
    if (xingText == "Xing" || xingText == "Info") {
        vbr.kind = xingText == "Xing" ? VbrKind::Xing : VbrKind::Info;
        const auto flags = wordIn(frame, x + 4);
        if (flags && (*flags & 1))
            vbr.frames = wordIn(frame, x + 8);
        if (flags)
            vbr.radioGainDb = encoderTagGain(frame, x + 8 + fieldsLength(*flags));
        return vbr;
    }
    if (frame.size() >= kVbriOffset + 4 && frame.substr(kVbriOffset, 4) == "VBRI") {
        vbr.kind = VbrKind::Vbri;
        vbr.frames = wordIn(frame, kVbriOffset + kVbriFrames);
    }
    return vbr;
}

} // namespace zondari::mp3
