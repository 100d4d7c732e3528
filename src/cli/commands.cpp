#include "cli/commands.h"

namespace zondari::cli {

int runScan(const std::vector<std::string>& args);
int runList(const std::vector<std::string>& args);

// Each subsystem adds its commands here.
const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {
        {"scan", "CARTELLA [--titolo T] [--tutti] [--sovrascrivi]: cataloga un CD o una cartella", runScan},
        {"list", "elenca i CD e le cartelle catalogati", runList},
    };
    return list;
}

}  // namespace zondari::cli
