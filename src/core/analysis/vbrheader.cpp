#include "core/analysis/vbrheader.h"

namespace zondari::mp3 {
namespace {

constexpr std::size_t kVbriOffset = 36;
constexpr std::size_t kVbriFrames = 14;

std::optional<std::uint32_t> wordIn(std::string_view bytes, std::size_t offset)
{
    if (offset + 4 > bytes.size())
        return std::nullopt;
    return wordAt(reinterpret_cast<const unsigned char*>(bytes.data()) + offset);
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
        return vbr;
    }
    if (frame.size() >= kVbriOffset + 4 && frame.substr(kVbriOffset, 4) == "VBRI") {
        vbr.kind = VbrKind::Vbri;
        vbr.frames = wordIn(frame, kVbriOffset + kVbriFrames);
    }
    return vbr;
}

} // namespace zondari::mp3
