#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zondari::cli {

// An option of a command: a flag ("--json"), or with `value` an option that
// takes the next word ("--titolo T").
struct Option {
    const char* name;
    const char* value; // the value's name in the usage; nullptr for a flag
    const char* help;
};

struct Command;

// A command line as the parser read it: the flags and option values given
// (an option given twice keeps its last value) and the operands, "--" and
// all after it taken as operands.
class Args {
public:
    Args(const Command& command, std::vector<std::string> operands, std::map<std::string, std::string> options)
        : command_(command)
        , operands_(std::move(operands))
        , options_(std::move(options))
    {
    }
    const std::vector<std::string>& operands() const { return operands_; }
    bool has(const std::string& option) const { return options_.count(option) > 0; }
    std::optional<std::string> value(const std::string& option) const;
    bool anyOption() const { return !options_.empty(); }

    // A command line the command itself finds wrong: `why` and the usage on
    // standard error; the exit status 2.
    int wrong(const std::string& why) const;

private:
    const Command& command_;
    std::vector<std::string> operands_;
    std::map<std::string, std::string> options_;
};

inline constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

// Exit statuses: 0 success, 1 a file could not be read or written (or
// nothing was found), 2 a wrong command line.
struct Command {
    const char* name;
    const char* operands; // as the usage shows them: "FILE...", "CARTELLA"
    std::size_t fewest, most; // how many operands it takes
    const char* missing; // said when the operands are too few
    std::vector<Option> options;
    const char* summary;
    int (*run)(const Args& args);
};

// The commands in the order the usage lists them.
const std::vector<Command>& commands();

// "scan CARTELLA [--titolo T] [--tutti]...", as the usage shows the command.
std::string usageLine(const Command& command);

// Reads `words` (what follows the command's name) as the command's table
// entry describes them and runs it: "--help" prints its help, a wrong line exits with 2.
int runCommand(const Command& command, const std::vector<std::string>& words);

} // namespace zondari::cli
