#pragma once

#include <string>
#include <vector>

namespace zondari::test {

// A null sink of a test's own, so that what a recording hears is that
// test's sound alone; unloaded when the object goes.
class OwnSink {
public:
    OwnSink();
    ~OwnSink();
    OwnSink(const OwnSink&) = delete;
    OwnSink& operator=(const OwnSink&) = delete;
    bool ok() const;
    const std::string& name() const { return name_; }

private:
    std::string name_;
    std::string module_;
};

// Whether a PulseAudio server answers (scripts/run-tests starts one with a
// null sink when none does).
bool soundServerAnswers();

// Why playback tests cannot run here, or empty when they can: a sound
// server that answers and the tools that make MP3 fixtures.
std::string playbackUnavailable();

// The indexes of the sound server's objects of a kind ("sink-inputs",
// "clients") whose client runs in this process, from `pactl list KIND`: a
// block per object under `heading` ("Sink Input #"), the owner among its
// properties.
std::vector<int> ownServerObjects(const std::string& kind, const std::string& heading);

// Moves every playback stream of this process to the sink named; false
// when none moved. (The server may replace a new stream once while it
// starts, so callers try again until the sound arrives.)
bool moveOwnSinkInputs(const std::string& sink);

} // namespace zondari::test

// Skips a test that needs real playback, saying why.
#define REQUIRE_PLAYBACK()                                                                                             \
    do {                                                                                                               \
        if (const std::string why = ::zondari::test::playbackUnavailable(); !why.empty())                              \
            GTEST_SKIP() << why;                                                                                       \
    } while (0)
