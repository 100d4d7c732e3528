#pragma once

#include "support/qt/sound.h"

namespace zondari::test {

// The default sink's volume as the sound server reports it (the first
// channel's raw value, 65536 = 100%), or -1 when it cannot be read.
int sinkVolume();

// Sets the default sink's volume on every channel; false when refused.
bool setSinkVolume(int raw);

// The sound server's clients that run in this process (each open ALSA
// mixer on the server is one).
int ownSoundClients();

// Holds the default sink's volume for one test: other test processes that
// change it wait (the sound server is shared by every test run on the
// machine), and the volume is put back as it was when the object goes.
class SinkVolumeKept {
public:
    SinkVolumeKept();
    ~SinkVolumeKept();
    SinkVolumeKept(const SinkVolumeKept&) = delete;
    SinkVolumeKept& operator=(const SinkVolumeKept&) = delete;

private:
    int lock_ = -1;
    int saved_ = -1;
};

} // namespace zondari::test

// Skips a test that needs the system mixer on a sound server, saying why.
#define REQUIRE_MASTER_VOLUME()                                                                                        \
    do {                                                                                                               \
        if (!::zondari::test::soundServerAnswers())                                                                    \
            GTEST_SKIP() << "no PulseAudio server answers: the master volume is tested on ALSA's "                     \
                            "\"default\" device over a PulseAudio null sink (scripts/run-tests "                       \
                            "starts one)";                                                                             \
    } while (0)
