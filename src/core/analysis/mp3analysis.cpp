#include "core/analysis/mp3analysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/analysis/framesearch.h"
#include "core/analysis/genres.h"
#include "core/common/encoding.h"
#include "core/common/text.h"
#include "core/tags/id3v1.h"

namespace zondari::mp3 {
namespace {

std::string yesNo(int bit)
{
    return bit ? "sì" : "no";
}

std::int32_t clampToInt32(long double v)
{
    if (!(v > 0))
        return 0;
    if (v >= static_cast<long double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

void readTagFields(const Mp3Bytes& file, TrackInfo& info)
{
    // The record counts only at its place, the last 128 bytes.
    const auto tag = id3v1::decode(file.tail, true);
    info.HasTag = tag.has_value();
    if (!tag)
        return;
    info.Title = id3v1::fieldText(tag->Title);
    info.Artist = id3v1::fieldText(tag->Artist);
    info.Album = id3v1::fieldText(tag->Album);
    info.Year = id3v1::fieldText(tag->Year);
    info.Comment = id3v1::fieldText(tag->Comment);
    info.Track = encoding::cp1252ToUtf8(std::string(1, static_cast<char>(tag->TrackByte)));
    info.Genre = tag->GenreByte;
}

// Whether the first bytes of the audio window answer all that the analysis
// asks of the window: where the first frame is, and its VBR header.
bool enoughOfTheAudio(std::string_view first)
{
    const PrefixSearch search = findFirstFrameIn(first);
    return search.final && search.found && search.found->offset + kVbrHeaderReach <= first.size();
}

} // namespace

Mp3Bytes collectMp3Bytes(std::uint64_t length, const ReadAt& read)
{
    Mp3Bytes file;
    file.fileLength = length;
    if (length < kShortestAnalysed)
        return file;
    // Tags may follow one another. Their headers are read a block at a time,
    // and only the analysis window's worth of them is followed: a file made
    // of nothing but empty 10-byte headers would otherwise cost one read
    // per header. A tag's body is jumped over, not read.
    constexpr std::size_t kHeader = 10;
    constexpr std::size_t kBlock = 4096;
    std::string block;
    std::uint64_t blockAt = 0;
    std::size_t walked = 0;
    while (file.tagsInFront + kHeader <= length && walked + kHeader <= kAudioWindow) {
        const std::uint64_t at = file.tagsInFront;
        if (at < blockAt || at + kHeader > blockAt + block.size()) {
            blockAt = at;
            block = read(at, static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, length - at)));
            if (block.size() < kHeader)
                break;
        }
        const std::uint64_t tag
            = id3v2TagLength(std::string_view(block).substr(static_cast<std::size_t>(at - blockAt), kHeader));
        if (tag == 0)
            break;
        file.tagsInFront += tag;
        walked += kHeader;
    }
    file.tail = read(length - kTagSize, kTagSize);
    const auto window = static_cast<std::size_t>(std::min<std::uint64_t>(kAudioWindow, audioBytes(file)));
    if (window == 0)
        return file;
    // The window is read a block first: nearly always its first frame, the
    // header that confirms it and its VBR header are in there, and the rest
    // would be copied for nothing. The block of headers already holds it
    // when the audio starts inside.
    if (file.tagsInFront >= blockAt && file.tagsInFront < blockAt + block.size())
        file.audio = block.substr(static_cast<std::size_t>(file.tagsInFront - blockAt), window);
    else
        file.audio = read(file.tagsInFront, std::min(kBlock, window));
    if (file.audio.size() < window && !enoughOfTheAudio(file.audio))
        file.audio += read(file.tagsInFront + file.audio.size(), window - file.audio.size());
    return file;
}

bool endsWithId3v1(std::string_view tail)
{
    return tail.size() == kTagSize && text::toUpperAscii(tail.substr(0, 3)) == "TAG";
}

std::uint64_t audioBytes(const Mp3Bytes& file)
{
    const std::uint64_t end = file.fileLength - (endsWithId3v1(file.tail) ? kTagSize : 0);
    return file.tagsInFront < end ? end - file.tagsInFront : 0;
}

bool hasMpegAudio(const Mp3Bytes& file)
{
    return file.fileLength >= kShortestAnalysed && findFirstFrame(file.audio).has_value();
}

FirstFrame ReadMp3Header(const Mp3Bytes& file, TrackInfo& info)
{
    FirstFrame first;
    if (file.fileLength < kShortestAnalysed)
        return first;
    if (const auto start = findFirstFrame(file.audio)) {
        const std::string_view frame = std::string_view(file.audio).substr(start->offset);
        first.freeFormatLength = start->freeFormatLength;
        first.vbr = readVbrHeader(frame, splitHeader(start->header));
        info.IsVbr = first.vbr.marksVbr();
        if (info.IsVbr)
            info.VbrFrames = first.vbr.frames.value_or(0);
        first.header = start->header;
    }
    readTagFields(file, info);
    return first;
}

std::optional<double> encoderGainDb(const Mp3Bytes& file)
{
    TrackInfo unused;
    return ReadMp3Header(file, unused).vbr.radioGainDb;
}

std::string gainText(double db)
{
    // Hundredths, whatever the locale, with the sign always written.
    const long hundredths = std::lround(std::abs(db) * 100);
    const std::string cents = std::to_string(hundredths % 100);
    return std::string(db < 0 && hundredths != 0 ? "-" : "+") + std::to_string(hundredths / 100) + "."
        + (cents.size() < 2 ? "0" : "") + cents + " dB";
}

TrackInfo DecodeMp3Header(const Mp3Bytes& file)
{
    TrackInfo info;
    const FirstFrame first = ReadMp3Header(file, info);
    if (!first.header)
        return info;
    const FrameHeader h = splitHeader(*first.header);
    info.Version = static_cast<std::int16_t>(h.version());
    info.Layer = static_cast<std::int16_t>(h.layer());
    info.SampleRate = h.sampleRate();
    info.ChannelMode = channelModeText(h.channelModeCode);
    info.Emphasis = emphasisText(h.emphasisCode);
    info.Padding = yesNo(h.paddingBit);
    info.Private = yesNo(h.privateBit);
    info.Copyright = yesNo(h.copyrightBit);
    info.Original = yesNo(h.originalBit);
    info.Crc = yesNo(h.protectionBit == 0); // a clear bit means a CRC follows

    std::int32_t bitRate = h.tableBitRate();
    if (first.freeFormatLength != 0 && h.sampleRate() != 0) {
        // Bit rate = frame bits (without the padding slot) per frame time.
        const long double bits = 8.0L * (first.freeFormatLength - h.paddingBit * paddingSlot(h));
        bitRate = static_cast<std::int32_t>(
            text::roundHalfEven(static_cast<double>(bits * h.sampleRate() / h.samplesPerFrame() / 1000)));
    }
    // The frame that carries a VBR header holds no audio, and its frame count
    // leaves it out.
    std::uint64_t audio = audioBytes(file);
    if (first.vbr.kind != VbrKind::None)
        audio -= std::min<std::uint64_t>(audio, first.freeFormatLength ? first.freeFormatLength : frameLength(h));
    const PlayTime t = playTime(h, bitRate, first.vbr, audio);
    info.BitRate = t.bitRate;
    info.Duration = t.seconds;
    return info;
}

PlayTime playTime(const FrameHeader& header, std::int32_t bitRate, const VbrHeader& vbr, std::uint64_t audioBytes)
{
    PlayTime t;
    const int rate = header.sampleRate();
    const bool counted = vbr.frames && *vbr.frames > 0 && rate > 0;
    if (counted) {
        const std::uint64_t samples = std::uint64_t{*vbr.frames} * static_cast<std::uint64_t>(header.samplesPerFrame());
        t.seconds = clampToInt32(static_cast<long double>(samples / static_cast<std::uint64_t>(rate)));
        const long double exact = static_cast<long double>(samples) / rate;
        if (vbr.marksVbr())
            t.bitRate = clampToInt32(text::roundHalfEven(static_cast<double>(audioBytes * 8.0L / exact / 1000)));
        else
            t.bitRate = bitRate;
        return t;
    }
    if (vbr.marksVbr() || bitRate <= 0)
        return t; // neither a count nor a bit rate that holds for the whole stream
    t.bitRate = bitRate;
    t.seconds = clampToInt32(static_cast<long double>(audioBytes * 8 / (static_cast<std::uint64_t>(bitRate) * 1000)));
    return t;
}

std::string durationText(std::int32_t seconds)
{
    const std::int32_t s = seconds % 60;
    return std::to_string(seconds / 60) + ":" + (s < 10 ? "0" : "") + std::to_string(s);
}

std::string booleanText(bool value)
{
    return value ? "Vero" : "Falso";
}

const std::array<std::string, kDetailCount>& detailLabels()
{
    static const std::array<std::string, kDetailCount> labels = {
        "Bitrate",
        "Frequenza",
        "Durata",
        "Versione",
        "Layer",
        "Original",
        "Empasis",
        "Copyright",
        "Mode",
        "Padding",
        "CRC",
        "Private",
        "Artista",
        "Nome brano",
        "Album",
        "Anno",
        "Commenti",
        "Genere",
        "Hastag",
    };
    return labels;
}

std::array<std::string, kDetailCount> detailValues(const TrackInfo& i)
{
    return {
        std::to_string(i.BitRate),
        std::to_string(i.SampleRate),
        durationText(i.Duration),
        std::to_string(i.Version),
        std::to_string(i.Layer),
        i.Original,
        i.Emphasis,
        i.Copyright,
        i.ChannelMode,
        i.Padding,
        i.Crc,
        i.Private,
        i.Artist,
        i.Title,
        i.Album,
        i.Year,
        i.Comment,
        GenreName(i.Genre),
        booleanText(i.HasTag),
    };
}

std::string vbrText(const TrackInfo& info)
{
    return "VBR " + booleanText(info.IsVbr);
}

} // namespace zondari::mp3
