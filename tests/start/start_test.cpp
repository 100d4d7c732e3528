// The start launcher, run as the program runs it, with a recording xdg-open
// first on PATH.

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

#include "support/tempdir.h"

using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

class StartLauncher : public ::testing::Test {
protected:
    void SetUp() override
    {
        bin.write("xdg-open", "#!/bin/sh\necho \"xdg-open $*\" >> \"" + bin / "log" + "\"\n");
        bin.write("vortafon", "#!/bin/sh\necho \"vortafon $*\" >> \"" + bin / "log" + "\"\n");
        fs::permissions(bin / "xdg-open", fs::perms::owner_all);
        fs::permissions(bin / "vortafon", fs::perms::owner_all);
    }

    int start(const std::string& args, const std::string& cwd)
    {
        return run("cd '" + cwd + "' && PATH='" + bin.path() + ":/usr/bin:/bin' '" + programBinary("start") + "' "
                   + args + " 2>'" + bin / "err" + "'");
    }

    std::string log()
    {
        // The detached program writes its line some time after start returns.
        std::string text;
        for (int i = 0; i < 200; ++i) {
            text = readFile(bin / "log");
            if (!text.empty() && text.back() == '\n')
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return text;
    }

    TempDir bin, docs;
};

}  // namespace

TEST_F(StartLauncher, OpensADocumentByItsFullPath)
{
    docs.write("my page.htm", "<html></html>");
    EXPECT_EQ(start("'" + docs / "my page.htm" + "'", "/"), 0);
    EXPECT_EQ(log(), "xdg-open " + docs / "my page.htm" + "\n");
}

TEST_F(StartLauncher, RelativeDocumentResolvesInTheCurrentFolder)
{
    docs.write("zondari.htm", "x");
    EXPECT_EQ(start("zondari.htm", docs.path()), 0);
    EXPECT_EQ(log(), "xdg-open " + docs / "zondari.htm" + "\n");
}

TEST_F(StartLauncher, OpensWebAddresses)
{
    EXPECT_EQ(start("https://www.zondari.it/", "/"), 0);
    EXPECT_EQ(log(), "xdg-open https://www.zondari.it/\n");
}

TEST_F(StartLauncher, RunsANamedProgramFromPath)
{
    EXPECT_EQ(start("vortafon", docs.path()), 0);
    EXPECT_EQ(log(), "vortafon \n");
}

TEST_F(StartLauncher, UnknownNameFailsWithAMessage)
{
    EXPECT_EQ(start("no-such-thing-zondari", docs.path()), 1);
    EXPECT_NE(readFile(bin / "err").find("impossibile trovare"), std::string::npos);
    EXPECT_EQ(start("''", docs.path()), 1);
    EXPECT_EQ(start("", docs.path()), 2);
}
