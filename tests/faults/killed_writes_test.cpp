// Writers killed with SIGKILL at random moments while they write: a
// catalogue (the scan; the settings and the pages are replaced the same way)
// and a tag (the tag editor and zondari-cli, appended and written over).
// After every kill the file is one that a complete write leaves (or the one
// before them), byte for byte, so a tag leaves the audio before it as it
// was; once a write completes, no temporary file is left in the folder.
//
// ZONDARI_KILL_RUNS sets the runs of each loop (200 by default, 50 in the
// sanitizer build); the bench runs them longer.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <thread>

#include "support/child.h"
#include "support/cli.h"
#include "support/mp3fixtures.h"

using namespace zondari::test;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Under the sanitizers every child starts several times slower: there the
// loops look for memory faults in the write paths, a quarter as long.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultRuns = 50;
#else
constexpr int kDefaultRuns = 200;
#endif

std::vector<std::string> temporariesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (const std::string name = e.path().filename().string();
            name.starts_with(".zondari-") && name.ends_with(".tmp"))
            names.push_back(name);
    return names;
}

// One run of a writer; `window`: the window writer, told to save once it is up.
struct Job {
    std::vector<std::string> argv, env;
    bool window = false;
};

// Runs the job and kills it after `delay` (never, when negative); whether
// its write completed, and how long it took from start (or the click).
bool perform(const Job& job, std::chrono::microseconds delay, double* seconds = nullptr)
{
    Child child(job.argv, job.env);
    if (job.window) {
        EXPECT_TRUE(child.waitForLine("pronto")) << child.output();
        child.send("\n");
    }
    const auto started = Clock::now();
    if (delay.count() >= 0) {
        std::this_thread::sleep_for(delay);
        child.kill();
    }
    bool completed = false;
    if (job.window) {
        completed = child.waitForLine("fatto", std::chrono::seconds(delay.count() >= 0 ? 1 : 20));
    } else {
        child.readToEnd();
        completed = child.wait() == 0;
    }
    if (seconds)
        *seconds = std::chrono::duration<double>(Clock::now() - started).count();
    return completed;
}

// Runs job(i) to the end twice, then `runs` more times each killed at a
// random moment within the time a write takes, and checks the file after
// every run.
void killWhileWriting(
    const std::string& name, const std::string& target, const std::string& folder, const std::function<Job(int)>& job)
{
    const char* env = std::getenv("ZONDARI_KILL_RUNS");
    const int runs = env && std::atoi(env) > 0 ? std::atoi(env) : kDefaultRuns;
    std::set<std::string> whole = {readFile(target)};
    double took = 0;
    for (int i = 0; i < 2; ++i) {
        double seconds = 0;
        ASSERT_TRUE(perform(job(i), std::chrono::microseconds(-1), &seconds)) << name;
        took += seconds / 2;
        whole.insert(readFile(target));
    }
    ASSERT_GE(whole.size(), 2u) << name << ": the writes change nothing";
    std::mt19937 random(std::random_device{}());
    int completed = 0, leftBehind = 0;
    for (int i = 2; i < runs + 2; ++i) {
        const bool done = perform(job(i), std::chrono::microseconds(random() % static_cast<long>(took * 1.1e6 + 1)));
        const std::string now = readFile(target);
        ASSERT_TRUE(!now.empty() && whole.count(now))
            << name << ", run " << i << ": not a whole file (" << now.size() << " bytes)";
        const auto temporaries = temporariesIn(folder);
        EXPECT_TRUE(!done || temporaries.empty()) << name << ", run " << i << ": " << temporaries.front();
        completed += done;
        leftBehind += !temporaries.empty();
    }
    // A last write, complete: nothing a killed one left remains.
    ASSERT_TRUE(perform(job(runs + 2), std::chrono::microseconds(-1))) << name;
    EXPECT_EQ(temporariesIn(folder), std::vector<std::string>{}) << name;
    std::printf("%s: %d runs, %d killed (%d leaving a temporary file, removed by a later write), %d completed; "
                "a write takes %.1f ms\n",
        name.c_str(), runs, runs - completed, leftBehind, completed, took * 1000);
}

Job cli(const std::vector<std::string>& args, const TempDir* programFolder = nullptr)
{
    Job job{{programBinary("zondari-cli")}, {}, false};
    job.argv.insert(job.argv.end(), args.begin(), args.end());
    if (programFolder)
        job.env.push_back("ZONDARI_PROGRAM_FOLDER=" + programFolder->path());
    return job;
}

// 300 kB of audio: ten frames and bytes that no tag holds.
std::string audio()
{
    std::string bytes = frames(10);
    for (int i = static_cast<int>(bytes.size()); i < 300'000; ++i)
        bytes += static_cast<char>(i * 31 + i / 7);
    return bytes;
}

} // namespace

TEST(KilledWrites, CatalogueWrittenByTheScan)
{
    TempDir pf, music;
    for (int i = 0; i < 400; ++i)
        music.write("cartella " + std::to_string(i % 20) + "/brano con un nome lungo " + std::to_string(i) + ".mp3");
    const CliRun first = runCli("scan " + shellQuoted(music.path()) + " --titolo Secondo", pf.path());
    ASSERT_EQ(first.status, 0) << first.err;
    killWhileWriting("catalogue (zondari-cli scan)", pf / first.firstLine(), pf.path(), [&](int i) {
        return cli({"scan", music.path(), "--titolo", i % 2 ? "Secondo" : "Primo", "--sovrascrivi"}, &pf);
    });
}

TEST(KilledWrites, TagAppendedOrWrittenOverByTheEditorAndTheCommandLine)
{
    // Even runs save from the tag editor, odd ones from zondari-cli, each
    // giving the title the file does not have.
    for (const bool appended : {true, false}) {
        TempDir music;
        const std::string track = music.write("brano.mp3", audio());
        if (!appended) {
            ASSERT_EQ(runCli("tag " + shellQuoted(track) + " --titolo Secondo --autore Autore").status, 0);
        }
        killWhileWriting(appended ? "tag appended" : "tag written over", track, music.path(), [&](int i) {
            if (appended)
                fs::rename(music.write("brano.nuovo", audio()), track); // untagged again
            if (i % 2 == 0)
                return Job{{testHelper("zondari-window-writer"), "tag", music.path(), track}, {}, true};
            return cli({"tag", track, "--titolo",
                readFile(track).find("TAGPrimo") != std::string::npos ? "Secondo" : "Primo"});
        });
    }
}
