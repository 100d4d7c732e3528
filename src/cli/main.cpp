// zondari-cli: the program's analysis, tags and catalogue on the command line.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/about/version.h"
#include "core/common/escape.h"

namespace {

void usage(std::FILE* out)
{
    std::string text = "Uso: zondari-cli COMANDO [ARGOMENTI...]\n"
                       "     zondari-cli COMANDO --help\n"
                       "     zondari-cli --version\n"
                       "\n"
                       "Comandi:\n";
    for (const auto& c : zondari::cli::commands())
        text += "  " + zondari::cli::usageLine(c) + "\n      " + c.summary + "\n";
    std::fwrite(text.data(), 1, text.size(), out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "zondari-cli: indicare un comando.\n");
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
            return zondari::cli::runCommand(c, std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "zondari-cli: comando sconosciuto \"%s\".\n", zondari::text::terminalText(name).c_str());
    usage(stderr);
    return 2;
}
