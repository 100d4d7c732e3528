#include "cli/commands.h"

namespace zondari::cli {

// Each subsystem adds its commands here.
const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {};
    return list;
}

}  // namespace zondari::cli
