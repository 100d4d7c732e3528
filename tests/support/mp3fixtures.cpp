#include "support/mp3fixtures.h"

#include <filesystem>
#include <sstream>

#include "support/tempdir.h"

namespace zondari::test {

bool haveMp3Tools()
{
    return run("command -v sox >/dev/null && command -v lame >/dev/null") == 0;
}

std::string makeMp3(const std::string& folder, const std::string& name, const ToneSpec& spec)
{
    const std::string out = folder + "/" + name;
    const std::string wav = out + ".tone.wav";
    std::ostringstream cmd;
    cmd << "sox -q -n -r " << spec.sampleRate << " -c " << spec.channels << " -b 16 '" << wav << "' synth "
        << spec.seconds << " sine " << spec.frequency << " && lame --quiet " << spec.lameOptions << " '" << wav
        << "' '" << out << "'";
    const int status = run(cmd.str());
    std::error_code ec;
    std::filesystem::remove(wav, ec);
    return status == 0 ? out : std::string();
}

}  // namespace zondari::test
