// zondari-cli: the program's analysis, tags and catalogue on the command line.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/about/version.h"

namespace {

void usage(std::FILE* out)
{
    std::fprintf(out,
        "Uso: zondari-cli COMANDO [ARGOMENTI...]\n"
        "     zondari-cli --version\n"
        "\n"
        "Comandi:\n");
    for (const auto& c : zondari::cli::commands())
        std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "aiuto") {
        usage(stdout);
        return 0;
    }
    if (name == "--version") {
        std::printf("%s\n", zondari::programVersionLine().c_str());
        return 0;
    }
    for (const auto& c : zondari::cli::commands()) {
        if (name == c.name)
            return c.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "zondari-cli: comando sconosciuto \"%s\".\n", argv[1]);
    usage(stderr);
    return 2;
}
