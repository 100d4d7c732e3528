#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zondari::test {

// Records what a PulseAudio sink plays, through its monitor, with parec at a
// low latency, and times every sample by the clock at which it arrived. What
// a test measures on it is what a listener hears, give or take the few
// milliseconds of the recording's own latency (which only make a delay look
// longer).
class SinkRecorder {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kRate = 44100;

    // Starts recording the monitor of `sink` (mono, 16 bits).
    explicit SinkRecorder(const std::string& sink);
    ~SinkRecorder();
    SinkRecorder(const SinkRecorder&) = delete;
    SinkRecorder& operator=(const SinkRecorder&) = delete;

    // The amplitude of the sine at `hz` in the sound of [from, from + span),
    // in decibels of full scale (a full-scale sine is 0 dB); nullopt when the
    // recording does not cover that span yet.
    std::optional<double> levelDb(
        double hz, Clock::time_point from, Clock::duration span = std::chrono::milliseconds(40)) const;

    // The samples heard in [from, to), as recorded (full scale 32768); empty
    // when the recording does not cover that span yet.
    std::vector<std::int16_t> samples(Clock::time_point from, Clock::time_point to) const;

    // The first moment from `from` on (in steps of `step`) at which the level
    // of `hz` over the next 40 ms satisfies `ok`, and keeps satisfying it for
    // `hold`; nullopt when that does not happen before `until` or the end of
    // what was recorded.
    template <class Pred>
    std::optional<Clock::time_point> firstTime(double hz, Clock::time_point from, Clock::time_point until, Pred ok,
        Clock::duration hold = std::chrono::milliseconds(100),
        Clock::duration step = std::chrono::milliseconds(5)) const
    {
        for (Clock::time_point t = from; t < until; t += step) {
            bool held = true;
            for (Clock::time_point u = t; u <= t + hold; u += step) {
                const auto level = levelDb(hz, u);
                if (!level || !ok(*level)) {
                    held = false;
                    break;
                }
            }
            if (held)
                return t;
        }
        return std::nullopt;
    }

private:
    void readLoop();
    // The index of the sample heard at `t`, when recorded.
    std::optional<std::size_t> sampleAt(Clock::time_point t) const;

    int pid_ = -1;
    int fd_ = -1;
    std::thread reader_;
    mutable std::mutex mutex_;
    std::vector<std::int16_t> samples_;
    // Where each chunk read ended, and when it arrived.
    std::vector<std::pair<std::size_t, Clock::time_point>> arrivals_;
};

} // namespace zondari::test
