#pragma once

#include <string>
#include <vector>

#include "core/common/result.h"

namespace zondari {

// Starting other programs and opening documents.
class Shell {
public:
    virtual ~Shell() = default;

    // Starts `program` with `args` without waiting. A program named without
    // a folder is looked for in the program folder, then on PATH. Each
    // argument reaches the program as it is: nothing is joined into a
    // command line and split again, so a name holding a quote stays one
    // argument.
    virtual Status start(const std::string& program, const std::vector<std::string>& args) = 0;

    // Opens a document or web address with the application the desktop
    // associates with it, without waiting.
    virtual Status open(const std::string& target) = 0;
};

// The real shell: programs are started detached (their own session, never
// waited for).
class PosixShell : public Shell {
public:
    // `programFolders` are searched before PATH: the program folder, where
    // the start launcher lives whatever the current folder is.
    explicit PosixShell(std::vector<std::string> programFolders = {});

    Status start(const std::string& program, const std::vector<std::string>& args) override;
    Status open(const std::string& target) override;

private:
    std::vector<std::string> programFolders_;
};

// The file a program name stands for: a name with "/" as it is; otherwise
// `programFolders`, then each folder of PATH. Never the current folder as
// such: it may be a music CD, and a CD's own "start" must not run.
// Empty when none holds an executable of that name.
std::string findProgram(const std::string& name, const std::vector<std::string>& programFolders = {});

// Starts `argv` detached and returns at once; the error when it cannot be
// started (not found, not executable).
Status spawnDetached(const std::vector<std::string>& argv);

// The start launcher of the program folder, by its full path: the long form
// of the start convention.
std::string startLauncher(const std::string& programFolder);

} // namespace zondari
