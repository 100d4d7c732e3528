#pragma once

#include <chrono>
#include <vector>

#include "support/qt/sound.h"
#include "support/sinkrecorder.h"

namespace zondari::test {

// A sink of the test's own that every stream this process opens from now on
// plays into, and a recording of it: what a listener hears. Tones are told
// apart by their pitch.
class Listener {
public:
    using Clock = SinkRecorder::Clock;

    Listener();
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Whether the sink could be made (the test is skipped without it).
    bool ok() const { return sink_.ok(); }
    const SinkRecorder& recording() const { return recorder_; }
    const std::string& sinkName() const { return sink_.name(); }

    // The level of the tone at `hz` over 40 ms from `at`, in dB of full
    // scale, once the recording holds it; -999 when it never does.
    double level(double hz, Clock::time_point at);
    // Its steady level now: the loudest of several windows over the last
    // 300 ms, since a loaded machine's dropouts only make one quieter.
    double steadyLevel(double hz);
    // Waits until the tone is heard (louder than -30 dB) and each of
    // `silent` is not (under -50 dB); false when that is not so within 10 s.
    bool hears(double hz, const std::vector<double>& silent = {});
    // Milliseconds from `t0` until the tone settled for good, within 1 dB of
    // the level it holds a second later (or under -60 dB when that is
    // silence); 9999 when it did not within the second.
    double settledAfter(double hz, Clock::time_point t0);
    // Milliseconds from `t0` until the tone fell silent (under -60 dB) for
    // good, measured over the second after; 9999 when it did not.
    double silencedAfter(double hz, Clock::time_point t0);

private:
    OwnSink sink_;
    SinkRecorder recorder_;
};

} // namespace zondari::test
