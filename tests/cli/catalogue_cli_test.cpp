#include <filesystem>
#include <gtest/gtest.h>

#include "support/tempdir.h"

using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

struct Cli {
    TempDir programFolder;

    // Runs zondari-cli with the program folder of the test; its standard output.
    std::string operator()(const std::string& args, int* status) const
    {
        return output("ZONDARI_PROGRAM_FOLDER=" + quoted(programFolder.path()) + " " + quoted(programBinary("zondari-cli"))
                          + " " + args + " 2>/dev/null",
                      status);
    }
};

std::string firstLine(const std::string& s)
{
    return s.substr(0, s.find('\n'));
}

}  // namespace

TEST(CliScan, WritesTheCatalogueOfTheFolderAndPrintsItsName)
{
    Cli cli;
    TempDir music;
    music.write("Rock/b.mp3");
    music.write("Rock/A.WMA");
    music.write("c.mp3");
    music.write("leggimi.txt");
    int st = -1;
    const std::string name = firstLine(cli("scan " + quoted(music.path()) + " --titolo 'Rock anni 80'", &st));
    ASSERT_EQ(st, 0);
    std::string part = music.path();
    for (char& c : part)
        if (c == '/' || c == '.')
            c = '-';
    EXPECT_EQ(name.rfind("ZOND_DEFAULT_", 0), 0u);
    EXPECT_EQ(name.substr(name.size() - part.size() - 4), part + ".txt");
    const std::string r = music.path();
    EXPECT_EQ(readFile(cli.programFolder / name),
              "Rock anni 80\r\n(" + r + "/Rock)\r\n" + r + "/Rock/A.WMA\r\n" + r + "/Rock/b.mp3\r\n" + r + "/c.mp3\r\n");

    // The user of the settings names it.
    cli.programFolder.write("zondari.ini", "; x\r\nUtente=Anna\r\nFilesMusicali=.MP3\r\nUltimoPath=/\r\n");
    const std::string anna = firstLine(cli("scan --tutti " + quoted(music.path()), &st));
    ASSERT_EQ(st, 0);
    EXPECT_EQ(anna.rfind("ZOND_Anna_", 0), 0u);
    EXPECT_NE(readFile(cli.programFolder / anna).find(r + "/leggimi.txt\r\n"), std::string::npos);
}

TEST(CliScan, ExistingCatalogueIsLeftAloneUnlessTheQuestionIsAnswered)
{
    Cli cli;
    TempDir music;
    music.write("a.mp3");
    int st = -1;
    const std::string name = firstLine(cli("scan " + quoted(music.path()) + " --titolo Primo", &st));
    ASSERT_EQ(st, 0);
    music.write("b.mp3");

    cli("scan " + quoted(music.path()) + " --titolo Secondo", &st);
    EXPECT_EQ(st, 1);
    EXPECT_EQ(readFile(cli.programFolder / name), "Primo\r\n" + music / "a.mp3" + "\r\n");

    // Untitled ("Anonimo"), answering yes keeps the title already given.
    EXPECT_EQ(firstLine(cli("scan " + quoted(music.path()) + " --sovrascrivi", &st)), name);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(readFile(cli.programFolder / name), "Primo\r\n" + music / "a.mp3" + "\r\n" + music / "b.mp3" + "\r\n");

    // With a title of its own, the new title replaces the old one.
    cli("scan " + quoted(music.path()) + " --sovrascrivi --titolo Terzo", &st);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(firstLine(readFile(cli.programFolder / name)), "Terzo\r");
}

TEST(CliScan, NothingToCatalogueOrNothingToReadWritesNothing)
{
    Cli cli;
    TempDir empty;
    empty.write("leggimi.txt");
    int st = -1;
    cli("scan " + quoted(empty.path()), &st);
    EXPECT_EQ(st, 1);
    cli("scan " + quoted(empty / "non-esiste"), &st);
    EXPECT_EQ(st, 1);
    cli("scan", &st);
    EXPECT_EQ(st, 2);
    cli("scan " + quoted(empty.path()) + " --colore rosso", &st);
    EXPECT_EQ(st, 2);
    EXPECT_TRUE(fs::is_empty(cli.programFolder.path()));
}

TEST(CliScan, SubfolderWithoutPermissionKeepsItsEntryAndIsPassedOver)
{
    // Root reads every folder: the scan runs as an ordinary user.
    if (run("command -v setpriv >/dev/null") != 0)
        GTEST_SKIP() << "setpriv missing";
    Cli cli;
    TempDir music;
    music.write("aperta/a.mp3");
    music.write("chiusa/segreta.mp3");
    music.write("z.mp3");
    fs::permissions(music / "chiusa", fs::perms::owner_all);  // 0700, root's
    fs::permissions(music.path(), fs::perms::all);
    fs::permissions(cli.programFolder.path(), fs::perms::all);
    // The build tree may lie where that user cannot go: a copy of the program runs.
    TempDir bin;
    fs::permissions(bin.path(), fs::perms::all);
    fs::copy_file(programBinary("zondari-cli"), bin / "zondari-cli");
    const std::string out = output("ZONDARI_PROGRAM_FOLDER=" + quoted(cli.programFolder.path())
                                   + " setpriv --reuid=65534 --regid=65534 --clear-groups "
                                   + quoted(bin / "zondari-cli") + " scan " + quoted(music.path()));
    const std::string name = firstLine(out);
    ASSERT_FALSE(name.empty());
    const std::string r = music.path();
    EXPECT_EQ(readFile(cli.programFolder / name),
              "Anonimo\r\n(" + r + "/aperta)\r\n" + r + "/aperta/a.mp3\r\n(" + r + "/chiusa)\r\n" + r + "/z.mp3\r\n");
}

TEST(CliList, PrintsTheCatalogueListInOrder)
{
    Cli cli;
    int st = -1;
    cli("list", &st);
    EXPECT_EQ(st, 1);
    cli.programFolder.write("ZOND_DEFAULT_B_2.txt", "Secondo\r\n/b.mp3\r\n");
    cli.programFolder.write("ZOND_DEFAULT_a_1.txt", "Prim\xe8 \r\n");
    cli.programFolder.write("ZOND_Anna_C_3.txt", "di Anna\r\n");
    EXPECT_EQ(cli("list", &st), "ZOND_DEFAULT_a_1.txt \\ (Primè )\nZOND_DEFAULT_B_2.txt \\ (Secondo)\n");
    EXPECT_EQ(st, 0);
    cli("list troppo", &st);
    EXPECT_EQ(st, 2);
}
