#include "support/mp3fixtures.h"

#include <filesystem>
#include <sstream>

#include "support/tempdir.h"

namespace zondari::test {

bool haveMp3Tools()
{
    return run("command -v sox >/dev/null && command -v lame >/dev/null") == 0;
}

std::string makeMp3(const std::string& folder, const std::string& name, const ToneSpec& tone)
{
    const std::string out = folder + "/" + name;
    const std::string wav = out + ".tone.wav";
    std::ostringstream cmd;
    cmd << "sox -q -n -r " << tone.sampleRate << " -c " << tone.channels << " -b 16 '" << wav << "'";
    // One effects chain a second for a stepped pitch; sox plays the chains
    // one after another.
    const int steps = tone.stepHz != 0.0 ? static_cast<int>(tone.seconds) : 1;
    for (int k = 0; k < steps; ++k) {
        cmd << (k ? " :" : "") << " synth " << (steps > 1 ? 1.0 : tone.seconds) << " sine "
            << tone.frequency + k * tone.stepHz;
        if (tone.gainDb != 0.0)
            cmd << " gain " << tone.gainDb;
    }
    cmd << " && lame --quiet " << tone.lameOptions << " '" << wav << "' '" << out << "'";
    const int status = run(cmd.str());
    std::error_code ec;
    std::filesystem::remove(wav, ec);
    return status == 0 ? out : std::string();
}

std::string makeWav(const std::string& folder, const std::string& name)
{
    const std::string out = folder + "/" + name;
    return run("sox -q -n -r 44100 -c 2 -b 16 '" + out + "' synth 1 sine 440") == 0 ? out : std::string();
}

} // namespace zondari::test
