#pragma once

#include <string>
#include <vector>

#include "support/tempdir.h"

namespace zondari::test {

// `s` as one word for the shell, whatever quotes it holds.
inline std::string shellQuoted(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

struct CliRun {
    int status = -1;
    std::string out, err;
    std::string firstLine() const { return out.substr(0, out.find('\n')); }
};

// Runs zondari-cli with `args` (quoted by the caller) and, when one is
// given, `programFolder` as its program folder; `extraEnv` holds NAME=value
// settings for it.
inline CliRun runCli(
    const std::string& args, const std::string& programFolder = {}, const std::vector<std::string>& extraEnv = {})
{
    TempDir scratch;
    CliRun r;
    std::string env = programFolder.empty() ? "" : "ZONDARI_PROGRAM_FOLDER=" + shellQuoted(programFolder) + " ";
    for (const std::string& setting : extraEnv)
        env += setting.substr(0, setting.find('=') + 1) + shellQuoted(setting.substr(setting.find('=') + 1)) + " ";
    r.out = output(
        env + shellQuoted(programBinary("zondari-cli")) + " " + args + " 2>" + shellQuoted(scratch / "err"), &r.status);
    r.err = readFile(scratch / "err");
    return r;
}

} // namespace zondari::test
