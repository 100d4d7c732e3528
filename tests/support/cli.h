#pragma once

#include <string>

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
// given, `programFolder` as its program folder.
inline CliRun runCli(const std::string& args, const std::string& programFolder = {})
{
    TempDir scratch;
    CliRun r;
    const std::string env = programFolder.empty() ? "" : "ZONDARI_PROGRAM_FOLDER=" + shellQuoted(programFolder) + " ";
    r.out = output(env + shellQuoted(programBinary("zondari-cli")) + " " + args + " 2>" + shellQuoted(scratch / "err"),
                   &r.status);
    r.err = readFile(scratch / "err");
    return r;
}

}  // namespace zondari::test
