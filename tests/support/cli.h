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

// One run of zondari-cli, as its terminal would have met it, and what it
// cost.
struct CliRun {
    int status = -1; // exit status, 128 + signal when one ended it, -1 when killed at the limit
    std::string out, err; // its standard output and error, byte for byte
    double seconds = 0; // wall time
    long peakKib = 0; // its peak resident memory
    std::string firstLine() const { return out.substr(0, out.find('\n')); }
};

// Runs zondari-cli with `args` (shell words, quoted by the caller) in a
// child of its own, with `programFolder`, when one is given, as its program
// folder and `extraEnv` (NAME=value settings) in its environment. It is
// killed, with all it started, when it runs longer than `limitSeconds`.
CliRun runCli(const std::string& args, const std::string& programFolder = {},
    const std::vector<std::string>& extraEnv = {}, double limitSeconds = 600);

} // namespace zondari::test
