#include "support/qt/mastervolume.h"

#include <fcntl.h>
#include <regex>
#include <sys/file.h>
#include <unistd.h>

#include "support/tempdir.h"

namespace zondari::test {

int sinkVolume()
{
    // "Volume: front-left: 49152 /  75% / -7.50 dB,   front-right: ..."
    const std::string out = output("pactl get-sink-volume @DEFAULT_SINK@ 2>/dev/null");
    std::smatch m;
    static const std::regex firstChannel(R"(Volume:\s*[\w-]+:\s*(\d+)\s*/)");
    if (!std::regex_search(out, m, firstChannel))
        return -1;
    return std::stoi(m[1]);
}

bool setSinkVolume(int raw)
{
    return run("pactl set-sink-volume @DEFAULT_SINK@ " + std::to_string(raw) + " 2>/dev/null") == 0;
}

int ownSoundClients()
{
    return static_cast<int>(ownServerObjects("clients", "Client #").size());
}

SinkVolumeKept::SinkVolumeKept()
{
    lock_ = ::open("/tmp/zondari-test-master-volume.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lock_ >= 0)
        ::flock(lock_, LOCK_EX);
    saved_ = sinkVolume();
}

SinkVolumeKept::~SinkVolumeKept()
{
    if (saved_ >= 0)
        setSinkVolume(saved_);
    if (lock_ >= 0)
        ::close(lock_); // releases the lock
}

} // namespace zondari::test
