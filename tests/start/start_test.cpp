// The start launcher, run as the program runs it, with a recording xdg-open
// first on PATH.

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <tuple>

#include "support/tempdir.h"

using namespace zondari::test;
namespace fs = std::filesystem;

TEST(StartLauncher, OpensDocumentsAndWebAddressesRunsNamedProgramsFromPathAndNamesWhatItCannotFind)
{
    TempDir bin, docs;
    for (const char* name : {"xdg-open", "vortafon"}) {
        bin.write(name, "#!/bin/sh\necho \"" + std::string(name) + " $*\" >> \"" + bin / "log" + "\"\n");
        fs::permissions(bin / name, fs::perms::owner_all);
    }
    const auto start = [&](const std::string& args, const std::string& cwd) {
        fs::remove(bin / "log");
        return run("cd '" + cwd + "' && PATH='" + bin.path() + ":/usr/bin:/bin' '" + programBinary("start") + "' "
            + args + " 2>'" + bin / "err" + "'");
    };
    // The detached program writes its line some time after start returns.
    const auto whatRan = [&] {
        std::string text;
        for (int i = 0; i < 200; ++i) {
            text = readFile(bin / "log");
            if (!text.empty() && text.back() == '\n')
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return text;
    };
    docs.write("my page.htm", "<html></html>");
    docs.write("zondari.htm", "x");
    const std::string page = docs / "my page.htm", help = docs / "zondari.htm";
    // What it is given, where, and what it starts (by its full path, in the
    // current folder, a web address, a program on PATH).
    for (const auto& [args, cwd, logged] : {std::tuple{"'" + page + "'", std::string("/"), "xdg-open " + page},
             {"zondari.htm", docs.path(), "xdg-open " + help},
             {"https://www.zondari.it/", "/", "xdg-open https://www.zondari.it/"},
             {"vortafon", docs.path(), "vortafon "}}) {
        EXPECT_EQ(start(args, cwd), 0) << args;
        EXPECT_EQ(whatRan(), logged + "\n") << args;
    }
    EXPECT_EQ(start("no-such-thing-zondari", docs.path()), 1);
    EXPECT_NE(readFile(bin / "err").find("impossibile trovare"), std::string::npos);
    EXPECT_EQ(start("''", docs.path()), 1);
    EXPECT_EQ(start("", docs.path()), 2);
}
