#include "support/qt/listener.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zondari::test {

using std::chrono::milliseconds;

Listener::Listener()
    : recorder_(sink_.name())
{
    ::setenv("PULSE_SINK", sink_.name().c_str(), 1);
}

Listener::~Listener()
{
    ::unsetenv("PULSE_SINK");
}

double Listener::level(double hz, Clock::time_point at)
{
    std::optional<double> l;
    (void)QTest::qWaitFor([&] { return bool(l = recorder_.levelDb(hz, at)); }, 2000);
    return l.value_or(-999);
}

double Listener::steadyLevel(double hz)
{
    const Clock::time_point now = Clock::now();
    double loudest = -999;
    for (int back = 300; back >= 60; back -= 60)
        loudest = std::max(loudest, level(hz, now - milliseconds(back)));
    return loudest;
}

bool Listener::hears(double hz, const std::vector<double>& silent)
{
    return QTest::qWaitFor(
        [&] {
            // The server may replace a new stream once while it starts.
            moveOwnSinkInputs(sink_.name());
            const Clock::time_point at = Clock::now() - milliseconds(120);
            const auto l = recorder_.levelDb(hz, at);
            return l && *l > -30 && std::ranges::all_of(silent, [&](double other) {
                const auto o = recorder_.levelDb(other, at);
                return o && *o < -50;
            });
        },
        10000);
}

double Listener::settledAfter(double hz, Clock::time_point t0)
{
    // The sound of the second after, recorded to be measured.
    (void)QTest::qWaitFor([&] { return bool(recorder_.levelDb(hz, t0 + milliseconds(1200))); }, 5000);
    const double settled = level(hz, t0 + milliseconds(1200));
    const auto when = recorder_.firstTime(hz, t0, t0 + milliseconds(1100),
        [&](double l) { return settled < -60 ? l < -60 : std::abs(l - settled) <= 1.0; });
    return when ? std::chrono::duration<double, std::milli>(*when - t0).count() : 9999;
}

double Listener::silencedAfter(double hz, Clock::time_point t0)
{
    QTest::qWait(1200); // the sound of the second after, recorded to be measured
    const auto when = recorder_.firstTime(hz, t0, t0 + milliseconds(1000), [](double l) { return l < -60; });
    return when ? std::chrono::duration<double, std::milli>(*when - t0).count() : 9999;
}

} // namespace zondari::test
