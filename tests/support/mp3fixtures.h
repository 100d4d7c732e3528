#pragma once

#include <cstdint>
#include <string>

namespace zondari::test {

struct ToneSpec {
    double seconds = 1.0;
    int sampleRate = 44100; // what sox generates; lame resamples only if asked
    int channels = 2;
    std::string lameOptions = "-b 128"; // e.g. "-V 2", "-m m", "--resample 22.05"
    double frequency = 440.0;
    double gainDb = 0.0; // below full scale, so that two decks mixed do not clip
    // When not 0, the pitch rises by this much at each whole second, so that
    // the sound tells where in the track it is: second k is at
    // frequency + k x stepHz.
    double stepHz = 0.0;
};

// Encodes a sine tone with lame into `folder`/`name` and returns its path;
// empty when sox or lame failed (the caller's test then fails on it).
std::string makeMp3(const std::string& folder, const std::string& name, const ToneSpec& tone = {});

// A WAV of a one-second sine tone made by sox in `folder`/`name`; its path,
// empty when sox failed.
std::string makeWav(const std::string& folder, const std::string& name);

// True when sox and lame are installed.
bool haveMp3Tools();

// Byte builders for MPEG audio that the tests name exactly.
inline std::string be32(std::uint32_t v)
{
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// A frame: its header, `body` after it, zeros up to `length`.
inline std::string frame(std::uint32_t header, std::size_t length, const std::string& body = {})
{
    std::string f = be32(header) + body;
    f.resize(length, '\0');
    return f;
}

inline constexpr std::uint32_t k128 = 0xFFFB9064; // MPEG 1 layer III, 128 kbit/s, 44.1 kHz, joint stereo
inline constexpr std::size_t k128Length = 417;

inline std::string frames(int n, std::uint32_t header = k128, std::size_t length = k128Length)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += frame(header, length);
    return s;
}

} // namespace zondari::test
