// The start launcher: opens a document or web address with the application
// the desktop associates with it (through xdg-open), or starts a named
// program, and returns at once without waiting for either.
//
//   start DOCUMENT | ADDRESS | PROGRAM [ARGUMENTS...]

#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/programfolder.h"
#include "platform/shell.h"

namespace {

bool isAddress(const std::string& s)
{
    return s.find("://") != std::string::npos || s.rfind("mailto:", 0) == 0 || s.rfind("www.", 0) == 0;
}

int fail(const std::string& what)
{
    std::fprintf(stderr, "start: %s\n", what.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zondari;
    if (argc < 2) {
        std::fprintf(stderr, "Uso: start DOCUMENTO|INDIRIZZO|PROGRAMMA [ARGOMENTI...]\n");
        return 2;
    }
    const std::string target = argv[1];

    if (isAddress(target) || files::fileExists(target) || files::folderExists(target)) {
        const std::string opener = findProgram("xdg-open");
        if (opener.empty())
            return fail("xdg-open non trovato: installare xdg-utils.");
        const std::string what = isAddress(target) ? target : files::absolutePath(target);
        if (auto st = spawnDetached({opener, what}); !st)
            return fail("impossibile aprire \"" + target + "\": " + st.error().description);
        return 0;
    }

    const std::string program = findProgram(target, {executableFolder()});
    if (program.empty())
        return fail("impossibile trovare \"" + target + "\".");
    std::vector<std::string> args{program};
    for (int i = 2; i < argc; ++i)
        args.emplace_back(argv[i]);
    if (auto st = spawnDetached(args); !st)
        return fail("impossibile avviare \"" + target + "\": " + st.error().description);
    return 0;
}
