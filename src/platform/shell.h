#pragma once

#include <string>
#include <vector>

#include "core/common/result.h"

namespace zondari {

// Starting other programs and opening documents.
class Shell {
public:
    virtual ~Shell() = default;

    // Runs a command line (a program and its arguments, separated by spaces,
    // double quotes grouping) without waiting. A program named without a
    // folder is looked for in the program folder, then on PATH. The window
    // style of the original platform is kept for the record; 2 is
    // "minimised with focus".
    virtual Status run(const std::string& commandLine, int windowStyle) = 0;

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

    Status run(const std::string& commandLine, int windowStyle) override;
    Status open(const std::string& target) override;

private:
    std::vector<std::string> programFolders_;
};

// The words of a command line: split at spaces outside double quotes; the
// quotes themselves are dropped.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// The file a program name stands for: a name with "/" as it is; otherwise
// `programFolders`, then each folder of PATH. Never the current folder as
// such: it may be a music CD, and a CD's own "start" must not run.
// Empty when none holds an executable of that name.
std::string findProgram(const std::string& name, const std::vector<std::string>& programFolders = {});

// Starts `argv` detached and returns at once; the error when it cannot be
// started (not found, not executable).
Status spawnDetached(const std::vector<std::string>& argv);

// The command line of the long form of the start convention: the start
// launcher of the program folder given the quoted full path of a document.
std::string startCommandLine(const std::string& programFolder, const std::string& documentPath);

}  // namespace zondari
