// The catalogue commands on the files a real disk gives them: names that
// are not UTF-8, the whole system disk, damaged catalogues of a gigabyte, a
// full disk and scans killed while writing.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/cli.h"

using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

// The catalogue a scan of `folder` wrote; its name is the scan's first line.
std::string scanned(const TempDir& pf, const std::string& folder, const std::string& options = {})
{
    const CliRun r = runCli("scan " + shellQuoted(folder) + " " + options, pf.path());
    EXPECT_EQ(r.status, 0) << r.err;
    return r.status == 0 ? pf / r.firstLine() : std::string();
}

std::vector<std::string> hiddenTemporaries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().rfind(".zondari-", 0) == 0)
            names.push_back(e.path().filename().string());
    return names;
}

// A process id that no process has: a child that has ended and been waited for.
pid_t deadPid()
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

} // namespace

TEST(CliCatalogueFiles, NameNotInUtf8IsCataloguedLinkedAndFoundAsItsOwnBytes)
{
    TempDir pf, music;
    const std::string bad = music.write("Rock/bad\xffname.mp3", "x");
    music.write("Rock/perché.mp3", "x");
    const std::string catalogue = scanned(pf, music.path());
    // Written behind the mark, the name's bytes as they are.
    EXPECT_EQ(readFile(catalogue),
        "\xEF\xBB\xBF"
        "Anonimo\r\n("
            + music / "Rock" + ")\r\n" + bad + "\r\n" + music / "Rock/perché.mp3" + "\r\n");
    const std::string badUrl = "file://" + music / "Rock/bad%FFname.mp3";

    EXPECT_EQ(runCli("html " + shellQuoted(catalogue), pf.path()).status, 0);
    EXPECT_NE(readFile(pf / "default.htm").find("<a href=\"" + badUrl + "\">bad\uFFFDname.mp3</a>"), std::string::npos);
    EXPECT_EQ(runCli("database", pf.path()).status, 0);
    EXPECT_NE(readFile(pf / "zondari-database-generale.htm").find("<a href=\"" + badUrl + "\">"), std::string::npos);
    const CliRun found = runCli("search NAME", pf.path());
    EXPECT_EQ(found.status, 0) << found.err;
    const std::string page = readFile(pf / "zondari-pagina-di-ricerca.htm");
    EXPECT_NE(page.find("<a href=\"" + badUrl + "\">" + music / "Rock/bad\uFFFDname.mp3</a>"), std::string::npos);
    EXPECT_NE(page.find("Trovati  1 files"), std::string::npos);
    EXPECT_EQ(runCli("search NAME --maiuscole", pf.path()).status, 1);
    EXPECT_EQ(runCli("search name --maiuscole", pf.path()).status, 0);
    // A catalogue made on Windows still reads as Windows-1252.
    pf.write("ZOND_DEFAULT_WIN_1.txt", "Da Windows\r\nC:\\Musica\\caff\xe8 \xff.mp3\r\n");
    EXPECT_EQ(runCli("search 'caffè ÿ'", pf.path()).status, 0);
    EXPECT_NE(readFile(pf / "zondari-pagina-di-ricerca.htm").find("file:///C:/Musica/caff%C3%A8%20%C3%BF.mp3"),
        std::string::npos);
}

TEST(CliCatalogueFiles, SearchTextIsUtf8TextWithoutLineEnds)
{
    TempDir pf;
    pf.write("ZOND_DEFAULT_A_1.txt", "T\r\n/m/rock.mp3\r\n/m/Kırmızı rock.mp3\r\n");
    const std::string page = pf / "zondari-pagina-di-ricerca.htm";
    // The shell of popen has no $'...': printf gives the bytes.
    const CliRun bad = runCli("search \"$(printf '\\377\\376')\"", pf.path());
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "Il testo da cercare contiene caratteri non validi: scriverlo di nuovo.\n");
    EXPECT_FALSE(fs::exists(page));
    const CliRun split = runCli("search \"$(printf 'ro\\r\\nck')\"", pf.path());
    EXPECT_EQ(split.status, 0) << split.err;
    EXPECT_NE(readFile(page).find("Trovati  2 files contenenti la stringa : <b>rock</b>"), std::string::npos);
    EXPECT_EQ(runCli("search \"$(printf 'r\\r')\"", pf.path()).status, 2); // one character once the line end goes
}

TEST(CliCatalogueFiles, ScanOfTheSystemDiskStaysOnItAndOutOfTheKernelsFolders)
{
    TempDir pf;
    const auto started = std::chrono::steady_clock::now();
    const CliRun r = runCli("scan / --tutti", pf.path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::minutes(5));
    const std::string catalogue = readFile(pf / r.firstLine());
    EXPECT_NE(catalogue.find("\n/etc/hostname\r\n"), std::string::npos);
    for (const char* system : {"\n/proc/", "\n(/proc", "\n/sys/", "\n(/sys", "\n/dev/", "\n(/dev"})
        EXPECT_EQ(catalogue.find(system), std::string::npos) << system;
}

TEST(CliCatalogueFiles, CatalogueOfAGigabyteWithoutLineBreaksCostsLittleMemory)
{
    TempDir pf;
    // Sparse: a gigabyte of zeros that takes no room on the disk.
    const std::string huge = pf / "ZOND_DEFAULT_GUASTO_1.txt";
    ASSERT_EQ(run("truncate -s 1G " + shellQuoted(huge)), 0);
    pf.write("ZOND_DEFAULT_BUONO_2.txt", "Buono\r\n/m/" + std::string(5000, 'x') + ".mp3\r\n/m/rock.mp3\r\n");
    for (const std::string command :
        {"list", "database", "html ZOND_DEFAULT_GUASTO_1.txt", "search rock", "search zzzz"}) {
        const CliRun r = runCli(command, pf.path());
        EXPECT_NE(r.status, 2) << command;
        EXPECT_LT(r.peakKib, 64 * 1024) << command;
    }
    // The pages show the title's start and leave out the line longer than any path.
    for (const char* page : {"default.htm", "zondari-database-generale.htm", "zondari-pagina-di-ricerca.htm"}) {
        EXPECT_LT(fs::file_size(pf / page), 64u * 1024) << page;
        EXPECT_EQ(readFile(pf / page).find("xxxxx"), std::string::npos) << page;
    }
    const CliRun list = runCli("list", pf.path());
    EXPECT_EQ(list.out.substr(0, list.out.find('\n')), "ZOND_DEFAULT_BUONO_2.txt \\ (Buono)");
}

TEST(CliCatalogueFiles, FullDiskIsToldAsAFullDisk)
{
    TempDir pf, music;
    for (int i = 0; i < 1500; ++i)
        music.write("cartella " + std::to_string(i % 30) + "/brano con un nome lungo " + std::to_string(i) + ".mp3");
    MountedTmpfs small(pf.path(), "64k");
    if (!small.ok())
        GTEST_SKIP() << "mounting is not allowed here: the full disk was not tried";
    const CliRun r = runCli("scan " + shellQuoted(music.path()), pf.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zondari-cli: Disco pieno\n");
    EXPECT_TRUE(fs::is_empty(pf.path())); // neither a catalogue nor its temporary file
}

TEST(CliCatalogueFiles, TemporaryFilesOfScansThatDiedAreRemovedByTheNextScan)
{
    TempDir pf, music;
    for (int i = 0; i < 3000; ++i)
        music.write("d" + std::to_string(i % 50) + "/brano " + std::to_string(i) + ".mp3");
    // A scan that was killed left its temporary file; a running one keeps its own.
    const std::string dead = pf.write(".zondari-catalogo-" + std::to_string(deadPid()) + ".tmp", "mezzo");
    const pid_t sleeper = ::fork();
    if (sleeper == 0) {
        ::pause();
        ::_exit(0);
    }
    const std::string alive = pf.write(".zondari-catalogo-" + std::to_string(sleeper) + ".tmp", "in corso");
    const std::string catalogue = scanned(pf, music.path());
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(alive));
    ::kill(sleeper, SIGKILL);
    ::waitpid(sleeper, nullptr, 0);
    fs::remove(alive);
    const std::string whole = readFile(catalogue);
    fs::remove(catalogue);

    // Scans killed at any moment: none leaves a catalogue cut short, and the
    // next scan takes away what they left.
    std::mt19937 rng(std::random_device{}());
    int leftBehind = 0;
    for (int i = 0; i < 30; ++i) {
        const pid_t scan = ::fork();
        if (scan == 0) {
            ::setenv("ZONDARI_PROGRAM_FOLDER", pf.path().c_str(), 1);
            ::freopen("/dev/null", "w", stdout);
            const std::string cli = programBinary("zondari-cli");
            ::execl(cli.c_str(), cli.c_str(), "scan", music.path().c_str(), "--sovrascrivi", "--titolo", "Anonimo",
                static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 60000));
        ::kill(scan, SIGKILL);
        ::waitpid(scan, nullptr, 0);
        leftBehind += static_cast<int>(hiddenTemporaries(pf.path()).size());
        if (fs::exists(catalogue)) {
            EXPECT_EQ(readFile(catalogue), whole);
        }
        EXPECT_EQ(runCli("list", pf.path()).out.find(".zondari"), std::string::npos);
    }
    std::printf("killed scans: temporary files found after them %d times\n", leftBehind);
    scanned(pf, music.path(), "--sovrascrivi");
    EXPECT_TRUE(hiddenTemporaries(pf.path()).empty());
}
