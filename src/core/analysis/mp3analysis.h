#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/analysis/frameheader.h"
#include "core/analysis/trackinfo.h"
#include "core/analysis/vbrheader.h"

// The analysis of an MP3 file from the few bytes it needs: the ID3v2 tags in
// front (skipped), the first frames after them, and the last 128 bytes.
namespace zondari::mp3 {

// Files shorter than this are not analysed.
inline constexpr std::uint64_t kShortestAnalysed = 256;

struct Mp3Bytes {
    std::uint64_t fileLength = 0;
    // The length of the ID3v2 tags in front; past fileLength when a tag's
    // size points past the end.
    std::uint64_t tagsInFront = 0;
    // The audio's first bytes from tagsInFront, not past its end: up to
    // kAudioWindow of them, or fewer when those already decide where the
    // first frame is and hold its VBR header.
    std::string audio;
    std::string tail; // the last 128 bytes
};

// Gathers the bytes of a file of `length` bytes through `read` (the bytes at
// an offset, fewer at the end or on a failure). ID3v2 tags that follow one
// another are skipped through at most kAudioWindow bytes of their headers
// (bodies are jumped over), so a file of nothing but empty headers costs a
// few reads.
using ReadAt = std::function<std::string(std::uint64_t offset, std::size_t count)>;
Mp3Bytes collectMp3Bytes(std::uint64_t length, const ReadAt& read);

// The ID3v1 marker in the last 128 bytes, in any letter case.
bool endsWithId3v1(std::string_view tail);

// Bytes of audio: the file less the tags in front and an ID3v1 tag at its end.
std::uint64_t audioBytes(const Mp3Bytes& file);

// Whether the analysis finds an MPEG audio frame in the file: after the
// ID3v2 tags, of any MPEG version and layer. A WAV or any other file does
// not take an ID3v1 tag, which would be taken for its own data.
bool hasMpegAudio(const Mp3Bytes& file);

struct FirstFrame {
    std::optional<std::uint32_t> header; // the first frame's header word; none when no frame was found
    std::uint32_t freeFormatLength = 0;
    VbrHeader vbr;
};

// Finds the first frame, reads its VBR header into IsVbr and VbrFrames and
// the ID3v1 tag into the tag fields of `info`.
FirstFrame ReadMp3Header(const Mp3Bytes& file, TrackInfo& info);

// The whole analysis, from a cleared record.
TrackInfo DecodeMp3Header(const Mp3Bytes& file);

// The track gain the encoder wrote in its own tag (LAME's radio gain).
std::optional<double> encoderGainDb(const Mp3Bytes& file);

// A ReplayGain gain as shown: "+6.00 dB", "-6.20 dB".
std::string gainText(double db);

struct PlayTime {
    std::int32_t bitRate = 0; // kbit/s
    std::int32_t seconds = 0;
};

// A frame count from a Xing, Info or VBRI header gives the time as frames x
// samples per frame / sampling rate (a VBR stream's bit rate is then its
// average); otherwise the time is the audio's bits over the bit rate. A VBR
// stream without a usable frame count has neither.
PlayTime playTime(const FrameHeader& header, std::int32_t bitRate, const VbrHeader& vbr, std::uint64_t audioBytes);

// Minutes, ":", seconds in two digits: "3:05", "0:45", "60:05".
std::string durationText(std::int32_t seconds);

// "Vero" / "Falso".
std::string booleanText(bool value);

// The details window's fields, in their order: labels and values as shown.
inline constexpr std::size_t kDetailCount = 19;
const std::array<std::string, kDetailCount>& detailLabels();
std::array<std::string, kDetailCount> detailValues(const TrackInfo& info);

// The line under the first field: "VBR " and the Boolean text.
std::string vbrText(const TrackInfo& info);

} // namespace zondari::mp3
