#include "support/cli.h"

#include <chrono>

#include "support/child.h"

namespace zondari::test {

CliRun runCli(
    const std::string& args, const std::string& programFolder, const std::vector<std::string>& extraEnv, double limit)
{
    // The settings go to zondari-cli through env, not to the shell, which
    // must not load what they preload. exec: the child measured is the
    // command line itself.
    std::string command = "exec env";
    if (!programFolder.empty())
        command += " " + shellQuoted("ZONDARI_PROGRAM_FOLDER=" + programFolder);
    for (const std::string& setting : extraEnv)
        command += " " + shellQuoted(setting);
    command += " " + shellQuoted(programBinary("zondari-cli")) + " " + args;
    const auto start = std::chrono::steady_clock::now();
    Child child({"/bin/sh", "-c", command}, {}, true);
    child.closeInput();
    const bool inTime
        = child.readToEnd(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::duration<double>(limit)));
    if (!inTime)
        child.kill();
    const int status = child.wait();
    CliRun r;
    r.status = !inTime ? -1 : status < 0 ? 128 - status : status;
    r.out = child.output();
    r.err = child.errors();
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.peakKib = child.peakKib();
    return r;
}

} // namespace zondari::test
