#pragma once

#include <string>
#include <vector>

namespace zondari::cli {

// Exit statuses: 0 success, 1 a file could not be read or written (or
// nothing was found), 2 a wrong command line.
struct Command {
    const char* name;
    const char* summary;
    int (*run)(const std::vector<std::string>& args);
};

// The commands in the order the usage lists them.
const std::vector<Command>& commands();

} // namespace zondari::cli
