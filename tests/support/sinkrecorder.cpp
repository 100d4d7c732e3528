#include "support/sinkrecorder.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <numbers>
#include <sys/wait.h>
#include <unistd.h>

namespace zondari::test {

SinkRecorder::SinkRecorder(const std::string& sink)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return;
    const std::string device = sink + ".monitor";
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        // 10 ms fragments: each read arrives about when its sound was played.
        ::execlp("parec", "parec", "--raw", "--format=s16le", "--rate=44100", "--channels=1", "--latency-msec=10", "-d",
            device.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    if (pid_ < 0) {
        ::close(pipeFds[0]);
        return;
    }
    fd_ = pipeFds[0];
    reader_ = std::thread([this] { readLoop(); });
}

SinkRecorder::~SinkRecorder()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (reader_.joinable())
        reader_.join();
    if (fd_ >= 0)
        ::close(fd_);
}

void SinkRecorder::readLoop()
{
    std::vector<char> buffer(4096);
    std::string pending; // an odd byte left from the last read
    for (;;) {
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n <= 0)
            return;
        const Clock::time_point now = Clock::now();
        pending.append(buffer.data(), static_cast<std::size_t>(n));
        const std::lock_guard lock(mutex_);
        std::size_t i = 0;
        for (; i + 1 < pending.size(); i += 2)
            samples_.push_back(static_cast<std::int16_t>(
                static_cast<unsigned char>(pending[i]) | (static_cast<unsigned char>(pending[i + 1]) << 8)));
        pending.erase(0, i);
        arrivals_.emplace_back(samples_.size(), now);
    }
}

std::optional<std::size_t> SinkRecorder::sampleAt(Clock::time_point t) const
{
    // An arrival only bounds when its samples were played: a chunk that
    // waited in the pipe (parec or this reader descheduled on a loaded
    // machine) arrives late, with the chunks behind it close after. The sink
    // plays at a steady rate, so a sample was played no later than any later
    // chunk's arrival less the samples between them, and the tightest of
    // those bounds is its time. Late chunks never make a change look early.
    // Only chunks up to a second later count, so that the sink's clock
    // drifting from the nominal rate moves no time by more than a fraction
    // of a millisecond.
    const auto seconds
        = [](double s) { return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s)); };
    const auto begin = [&](std::size_t j) { return j == 0 ? std::size_t(0) : arrivals_[j - 1].first; };
    // When sample 0 was played, judging by chunk j and those a second after it.
    const auto origin = [&](std::size_t j) {
        Clock::time_point o = arrivals_[j].second - seconds(double(arrivals_[j].first) / kRate);
        for (std::size_t later = j + 1;
             later < arrivals_.size() && arrivals_[later].first - begin(j) <= static_cast<std::size_t>(kRate); ++later)
            o = std::min(o, arrivals_[later].second - seconds(double(arrivals_[later].first) / kRate));
        return o;
    };
    // The chunk that arrived first at or after t, or one after it that its
    // bounds place at t.
    std::size_t j = static_cast<std::size_t>(std::lower_bound(arrivals_.begin(), arrivals_.end(), t,
                                                 [](const auto& a, Clock::time_point when) { return a.second < when; })
        - arrivals_.begin());
    if (j == arrivals_.size())
        return std::nullopt; // not recorded yet
    while (j + 1 < arrivals_.size() && origin(j + 1) + seconds(double(begin(j + 1)) / kRate) <= t)
        ++j;
    const double at = std::chrono::duration<double>(t - origin(j)).count() * kRate;
    if (at < 0)
        return std::nullopt; // before the recording
    return std::clamp(static_cast<std::size_t>(std::lround(at)), begin(j), arrivals_[j].first);
}

std::vector<std::int16_t> SinkRecorder::samples(Clock::time_point from, Clock::time_point to) const
{
    const std::lock_guard lock(mutex_);
    const auto first = sampleAt(from);
    const auto last = sampleAt(to);
    if (!first || !last || *last <= *first)
        return {};
    return {
        samples_.begin() + static_cast<std::ptrdiff_t>(*first), samples_.begin() + static_cast<std::ptrdiff_t>(*last)};
}

std::optional<double> SinkRecorder::levelDb(double hz, Clock::time_point from, Clock::duration span) const
{
    const std::lock_guard lock(mutex_);
    const auto first = sampleAt(from);
    const auto last = sampleAt(from + span);
    if (!first || !last || *last <= *first + 16)
        return std::nullopt;
    // Goertzel over a Hann window: the other deck's tone, a few hundred
    // hertz away, leaks far below the levels measured.
    const std::size_t n = *last - *first;
    const double w = 2.0 * std::numbers::pi * hz / kRate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0, s2 = 0, windowSum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(i) / double(n - 1));
        windowSum += hann;
        const double s0 = hann * samples_[*first + i] / 32768.0 + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    const double amplitude = 2.0 * std::sqrt(std::max(power, 0.0)) / windowSum;
    return amplitude > 0 ? 20.0 * std::log10(amplitude) : -200.0;
}

} // namespace zondari::test
