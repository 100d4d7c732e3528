#include <gtest/gtest.h>

#include "core/analysis/frameheader.h"

using namespace zondari::mp3;

TEST(BitString, DropsLeadingZerosAndConsumesTheBytes)
{
    std::array<std::uint8_t, 4> bytes = {0x00, 0x00, 0x12, 0x34};
    EXPECT_EQ(BytesToBits(bytes), "1001000110100");
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(BitsToNumber("1001000110100"), 4660);

    std::array<std::uint8_t, 4> header = {0xFF, 0xFB, 0x90, 0x64};
    const std::string bits = BytesToBits(header);
    EXPECT_EQ(bits, "11111111111110111001000001100100");
    EXPECT_EQ(static_cast<std::uint32_t>(BitsToNumber(bits)), 0xFFFB9064u);
}

TEST(FrameHeader, DecodesAnMpeg1Layer3HeaderAndTheFrameLengthsOfEachLayer)
{
    const FrameHeader h = splitHeader(0xFFFB9064u);
    EXPECT_EQ(h.version(), 1);
    EXPECT_EQ(h.layer(), 3);
    EXPECT_EQ(h.tableBitRate(), 128);
    EXPECT_EQ(h.sampleRate(), 44100);
    EXPECT_EQ(channelModeText(h.channelModeCode), "joint stereo");
    EXPECT_EQ(h.protectionBit, 1);  // no CRC
    EXPECT_EQ(emphasisText(h.emphasisCode), "no");
    EXPECT_EQ(h.copyrightBit, 0);
    EXPECT_EQ(h.originalBit, 1);
    EXPECT_EQ(frameLength(h), 417u);  // 144 x 128000 / 44100
    // Layer I, MPEG 1, 32 kbit/s, 48 kHz, padded: (12 x 32000 / 48000 + 1) x 4.
    EXPECT_EQ(frameLength(splitHeader(0xFFFF1400u | 0x200u)), 36u);
    // Layer II, MPEG 1, 192 kbit/s, 48 kHz: 144 x 192000 / 48000.
    EXPECT_EQ(frameLength(splitHeader(0xFFFDA400u)), 576u);
    // Layer III, MPEG 2.5, 8 kbit/s, 8 kHz: 72 x 8000 / 8000.
    EXPECT_EQ(frameLength(splitHeader(0xFFE31800u)), 72u);
}

TEST(FrameHeader, EachVersionHasItsOwnSamplingRates)
{
    // Version code in bits 19-20, sampling-rate index in bits 10-11.
    auto rate = [](std::uint32_t versionCode, std::uint32_t index) {
        return splitHeader(0xFFE20000u | (versionCode << 19) | (index << 10)).sampleRate();
    };
    EXPECT_EQ(rate(3, 0), 44100);
    EXPECT_EQ(rate(3, 1), 48000);
    EXPECT_EQ(rate(3, 2), 32000);
    EXPECT_EQ(rate(2, 0), 22050);
    EXPECT_EQ(rate(2, 2), 16000);
    EXPECT_EQ(rate(0, 0), 11025);
    EXPECT_EQ(rate(0, 1), 12000);
    EXPECT_EQ(rate(0, 2), 8000);
    EXPECT_EQ(rate(3, 3), 0);
}

TEST(FrameHeader, ValidityRejectsReservedCodes)
{
    EXPECT_TRUE(isValidHeader(0xFFFB9064u));
    EXPECT_FALSE(isValidHeader(0xFFEB9064u));  // version code 01
    EXPECT_FALSE(isValidHeader(0xFFF99064u));  // layer code 00
    EXPECT_FALSE(isValidHeader(0xFFFBF064u));  // bit-rate index 15
    EXPECT_FALSE(isValidHeader(0xFFFB9C64u));  // sampling-rate index 3
    EXPECT_FALSE(isValidHeader(0xFF7B9064u));  // a sync bit missing
    EXPECT_FALSE(isValidHeader(0xFFFFFFFFu));
}
