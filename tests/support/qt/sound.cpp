#include "support/qt/sound.h"

#include <cctype>
#include <sstream>
#include <unistd.h>
#include <vector>

#include "support/mp3fixtures.h"
#include "support/tempdir.h"

namespace zondari::test {

std::vector<int> ownServerObjects(const std::string& kind, const std::string& heading)
{
    const std::string listing = output("pactl list " + kind + " 2>/dev/null");
    const std::string pid = "application.process.id = \"" + std::to_string(::getpid()) + "\"";
    std::vector<int> own;
    std::istringstream in(listing);
    std::string line;
    int current = -1;
    while (std::getline(in, line)) {
        if (line.rfind(heading, 0) == 0)
            current = std::stoi(line.substr(heading.size()));
        else if (current >= 0 && line.find(pid) != std::string::npos)
            own.push_back(current);
    }
    return own;
}

OwnSink::OwnSink()
    : name_("zondari_sink_" + std::to_string(::getpid()))
{
    module_ = output("pactl load-module module-null-sink sink_name=" + name_ + " 2>/dev/null");
}

OwnSink::~OwnSink()
{
    if (ok())
        run("pactl unload-module " + module_);
}

bool OwnSink::ok() const
{
    return !module_.empty() && std::isdigit(static_cast<unsigned char>(module_[0]));
}

bool soundServerAnswers()
{
    return run("pactl info >/dev/null 2>&1") == 0;
}

std::string playbackUnavailable()
{
    if (!soundServerAnswers())
        return "no PulseAudio server answers; scripts/run-tests starts one with a null sink "
               "(or start one by hand) to run the playback tests";
    if (!haveMp3Tools())
        return "sox and lame are needed to make the MP3 fixtures (scripts/setup installs them)";
    return {};
}

bool moveOwnSinkInputs(const std::string& sink)
{
    // A stream of a player just gone may vanish meanwhile.
    bool moved = false;
    for (const int index : ownServerObjects("sink-inputs", "Sink Input #"))
        moved = run("pactl move-sink-input " + std::to_string(index) + " " + sink + " 2>/dev/null") == 0 || moved;
    return moved;
}

} // namespace zondari::test
