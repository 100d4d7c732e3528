#pragma once

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

// True when sox and lame are installed.
bool haveMp3Tools();

} // namespace zondari::test
