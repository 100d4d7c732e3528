// Writers killed with SIGKILL at random moments while they write: the
// settings (the file types window), a catalogue (the scan), a tag (the tag
// editor and zondari-cli, appended and written over) and each page. After
// every kill the file is the old one or the new one, byte for byte; a tag
// leaves the audio before it as it was; and once a write completes, no
// temporary file is left in the folder.
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
#include <thread>

#include "core/tags/id3v1.h"
#include "support/child.h"
#include "support/cli.h"
#include "support/mp3fixtures.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Under the sanitizers every child starts several times slower: there the
// loops look for memory faults in the write paths, a quarter as long, and
// the plain build gives the full proof.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultRuns = 50;
#else
constexpr int kDefaultRuns = 200;
#endif

int runsPerLoop()
{
    const char* runs = std::getenv("ZONDARI_KILL_RUNS");
    return runs && std::atoi(runs) > 0 ? std::atoi(runs) : kDefaultRuns;
}

bool isTemporary(const std::string& name)
{
    return name.rfind(".zondari-", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".tmp";
}

std::vector<std::string> temporariesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (isTemporary(e.path().filename().string()))
            names.push_back(e.path().filename().string());
    return names;
}

// One run of a writer: what it runs and what it leaves when it completes.
struct WriterRun {
    std::vector<std::string> argv;
    std::vector<std::string> env;
    bool window = false; // the window writer: told to save once it is up
    std::string expectedNew; // empty while the loop is being measured
};

// A loop: which file is written, where its temporaries would lie, and how
// each run is set up.
struct Loop {
    std::string name;
    std::string target;
    std::string folder;
    std::function<WriterRun(int i)> prepare;
    // Bytes of the file that no write may change (a tag's audio), if any.
    std::function<std::size_t()> keptPrefix = [] { return std::size_t(0); };
};

struct Outcome {
    bool completed = false; // the write finished before the kill
    bool writing = false; // seen writing just before the kill
    double seconds = 0; // from start (or from the click) to the end of the write
};

// Starts the run, kills it after `delay` (never, when negative) and says
// how it went.
Outcome perform(const WriterRun& job, const Loop& loop, std::chrono::microseconds delay)
{
    Outcome o;
    Child child(job.argv, job.env);
    EXPECT_TRUE(child.started());
    if (job.window) {
        EXPECT_TRUE(child.waitForLine("pronto")) << child.output();
        child.send("\n");
    }
    const auto started = Clock::now();
    if (delay.count() < 0) {
        if (job.window) {
            EXPECT_TRUE(child.waitForLine("fatto")) << child.output();
        } else {
            child.readToEnd();
        }
        o.seconds = std::chrono::duration<double>(Clock::now() - started).count();
        child.kill();
        child.wait();
        o.completed = true;
        return o;
    }
    std::this_thread::sleep_for(delay);
    o.writing = isWritingIn(child.pid(), loop.folder) || isWritingIn(child.pid(), loop.target);
    child.kill();
    const int status = child.wait();
    child.readToEnd(std::chrono::milliseconds(500));
    o.completed = job.window ? child.output().find("fatto\n") != std::string::npos : status == 0;
    if (job.window && o.completed)
        o.writing = false;
    return o;
}

std::size_t hashOf(std::string_view bytes)
{
    return std::hash<std::string_view>{}(bytes);
}

// Runs the loop and checks the file after every kill.
void killWhileWriting(const Loop& loop)
{
    const int runs = runsPerLoop();
    const auto loopStart = Clock::now();
    // Measured first: how long a write takes from the moment it is started,
    // so that the kills fall across it.
    double took = 0;
    for (int i = 0; i < 4; ++i) {
        WriterRun job = loop.prepare(i);
        const Outcome o = perform(job, loop, std::chrono::microseconds(-1));
        took += o.seconds / 4;
        if (!job.expectedNew.empty()) {
            ASSERT_TRUE(readFile(loop.target) == job.expectedNew) << loop.name << ": a complete write left other bytes";
        }
    }
    const std::string kept = readFile(loop.target).substr(0, loop.keptPrefix());
    const std::size_t keptHash = hashOf(kept);

    std::mt19937 random(std::random_device{}());
    const auto span = static_cast<long>(took * 1.1e6);
    // Each run ends one way: killed before its write began, killed while
    // writing (seen with the file or its temporary file open for writing,
    // or a temporary file left), killed once the file was written, or
    // complete.
    int before = 0, writing = 0, writingOld = 0, leftBehind = 0, after = 0, completed = 0;
    for (int i = 0; i < runs; ++i) {
        const WriterRun job = loop.prepare(i + 4);
        ASSERT_FALSE(job.expectedNew.empty()) << loop.name << ": what a complete write leaves is not known";
        const std::string old = readFile(loop.target);
        const Outcome o = perform(job, loop, std::chrono::microseconds(random() % span));
        ASSERT_TRUE(fs::exists(loop.target)) << loop.name << ", run " << i << ": the file is missing";
        const std::string now = readFile(loop.target);
        ASSERT_FALSE(now.empty()) << loop.name << ", run " << i << ": the file is empty";
        ASSERT_TRUE(now == old || now == job.expectedNew)
            << loop.name << ", run " << i << ": neither the old file nor the new one (" << now.size() << " bytes, "
            << old.size() << " before, " << job.expectedNew.size() << " new)";
        ASSERT_EQ(hashOf(std::string_view(now).substr(0, kept.size())), keptHash) << loop.name << ": audio changed";
        const auto temporaries = temporariesIn(loop.folder);
        const bool isNew = now == job.expectedNew && now != old;
        if (o.completed) {
            EXPECT_EQ(now, job.expectedNew) << loop.name << ", run " << i;
            EXPECT_TRUE(temporaries.empty()) << loop.name << ", run " << i << ": " << temporaries.front();
            ++completed;
        } else if (o.writing || !temporaries.empty()) {
            ++writing;
            writingOld += !isNew;
            leftBehind += !temporaries.empty();
        } else {
            ++(isNew ? after : before);
        }
    }
    // A last write, complete: nothing a killed one left remains.
    perform(loop.prepare(runs + 4), loop, std::chrono::microseconds(-1));
    EXPECT_EQ(temporariesIn(loop.folder), std::vector<std::string>{}) << loop.name;
    std::printf("%s: %d runs; killed before writing %d, while writing %d (file still the old one %d, the new one "
                "%d; %d left a temporary file, removed by a later write), after writing %d; completed %d. "
                "Write %.1f ms on average, loop %.1f s\n",
        loop.name.c_str(), runs, before, writing, writingOld, writing - writingOld, leftBehind, after, completed,
        took * 1000, std::chrono::duration<double>(Clock::now() - loopStart).count());
}

std::vector<std::string> programFolderEnv(const TempDir& pf)
{
    return {"ZONDARI_PROGRAM_FOLDER=" + pf.path()};
}

// A catalogue of `entries` file entries in `folders` folders.
std::string catalogueText(const std::string& title, int entries, int folders, const std::string& word)
{
    std::string text = title + "\r\n";
    for (int f = 0; f < folders; ++f) {
        text += "(/media/cd/" + word + " " + std::to_string(f) + ")\r\n";
        for (int i = f; i < entries; i += folders)
            text += "/media/cd/" + word + " " + std::to_string(f) + "/brano " + std::to_string(i) + ".mp3\r\n";
    }
    return text;
}

// The two contents a loop alternates between (even runs, odd runs), learnt
// from the complete runs that start it: before job i (1 to 3) the file is
// what job i - 1 wrote.
struct Learnt {
    std::string bytes[2];
    std::string expect(int i, const std::string& now)
    {
        if (i >= 1 && i <= 3 && bytes[(i - 1) % 2].empty())
            bytes[(i - 1) % 2] = now;
        return bytes[i % 2];
    }
};

} // namespace

TEST(KilledWrites, SettingsSavedByTheFileTypesWindow)
{
    TempDir pf;
    const std::string ini = pf / "zondari.ini";
    // The window saves WAV or MID, the other way round from the file it
    // read at start; the two files are learnt from complete saves.
    std::string withMid, withWav;
    Loop loop{"settings (Form2 OK: saveSettings, files::replaceTextFile)", ini, pf.path(), [&](int) {
                  WriterRun job{{testHelper("zondari-window-writer"), "settings", pf.path()}, {}, true, {}};
                  const std::string now = fs::exists(ini) ? readFile(ini) : std::string();
                  if (!withMid.empty() && !withWav.empty())
                      job.expectedNew = now == withMid ? withWav : withMid;
                  return job;
              }};
    perform(loop.prepare(0), loop, std::chrono::microseconds(-1));
    withMid = readFile(ini);
    perform(loop.prepare(0), loop, std::chrono::microseconds(-1));
    withWav = readFile(ini);
    ASSERT_NE(withMid.find("FilesMusicali=.MP3.WMA.MID.M3U\r\n"), std::string::npos) << withMid;
    ASSERT_NE(withWav.find("FilesMusicali=.MP3.WMA.WAV.M3U\r\n"), std::string::npos) << withWav;
    killWhileWriting(loop);
}

TEST(KilledWrites, CatalogueWrittenByTheScan)
{
    TempDir pf, music;
    for (int i = 0; i < 400; ++i)
        music.write("cartella " + std::to_string(i % 20) + "/brano con un nome lungo " + std::to_string(i) + ".mp3");
    std::string target;
    Learnt learnt;
    Loop loop{"catalogue (zondari-cli scan: catalogue::writeCatalogue, files::replaceFile)", "", pf.path(), [&](int i) {
                  WriterRun job{{programBinary("zondari-cli"), "scan", music.path(), "--titolo",
                                    i % 2 ? "Secondo" : "Primo", "--sovrascrivi"},
                      programFolderEnv(pf), false, {}};
                  if (!target.empty())
                      job.expectedNew = learnt.expect(i, readFile(target));
                  return job;
              }};
    const CliRun first = runCli("scan " + shellQuoted(music.path()) + " --titolo Secondo", pf.path());
    ASSERT_EQ(first.status, 0) << first.err;
    loop.target = target = pf / first.firstLine();
    killWhileWriting(loop);
}

TEST(KilledWrites, TagAppendedByTheEditorAndTheCommandLine)
{
    TempDir music;
    std::string audio = frames(10);
    for (int i = static_cast<int>(audio.size()); i < 300'000; ++i)
        audio += static_cast<char>(i * 31 + i / 7);
    const std::string track = music / "brano.mp3";
    TagRecord record;
    record.Title = "Primo";
    record.GenreByte = 255;
    const std::string tagged = audio + id3v1::encode(record);
    // Even runs save from the tag editor, odd ones from zondari-cli; each
    // starts from the untagged file.
    Loop loop{
        "tag appended (frmMain Command3 and zondari-cli tag: WriteTag)", track, music.path(), [&](int i) {
            fs::rename(music.write("brano.nuovo", audio), track);
            if (i % 2 == 0)
                return WriterRun{{testHelper("zondari-window-writer"), "tag", music.path(), track}, {}, true, tagged};
            return WriterRun{{programBinary("zondari-cli"), "tag", track, "--titolo", "Primo"}, {}, false, tagged};
        }};
    loop.keptPrefix = [&] { return audio.size(); };
    killWhileWriting(loop);
}

TEST(KilledWrites, TagWrittenOverByTheEditorAndTheCommandLine)
{
    TempDir music;
    std::string audio = frames(10);
    for (int i = static_cast<int>(audio.size()); i < 300'000; ++i)
        audio += static_cast<char>(i * 17 + i / 5);
    TagRecord record;
    record.Artist = "Autore";
    record.TrackByte = 4;
    record.GenreByte = 17;
    record.Title = "Secondo";
    const std::string track = music.write("brano.mp3", audio + id3v1::encode(record));
    const std::string withSecondo = readFile(track);
    record.Title = "Primo";
    const std::string withPrimo = audio + id3v1::encode(record);
    // Each job gives the title the file does not have: the editor by its
    // own rule, zondari-cli told so.
    Loop loop{
        "tag written over (frmMain Command3 and zondari-cli tag: WriteTag)", track, music.path(), [&](int i) {
            const bool primo = readFile(track) == withPrimo;
            const std::string next = primo ? withSecondo : withPrimo;
            if (i % 2 == 0)
                return WriterRun{{testHelper("zondari-window-writer"), "tag", music.path(), track}, {}, true, next};
            return WriterRun{
                {programBinary("zondari-cli"), "tag", track, "--titolo", primo ? "Secondo" : "Primo"}, {}, false, next};
        }};
    loop.keptPrefix = [&] { return audio.size(); };
    killWhileWriting(loop);
}

TEST(KilledWrites, EachPage)
{
    TempDir pf;
    pf.write("ZOND_DEFAULT_ROCK_1.txt", catalogueText("Rock", 6000, 60, "rock"));
    pf.write("ZOND_DEFAULT_JAZZ_2.txt", catalogueText("Jazz", 6000, 60, "jazz"));
    const std::string cli = programBinary("zondari-cli");

    struct Page {
        const char* name;
        const char* file;
        std::function<std::vector<std::string>(int)> args;
        std::function<void(int)> before = [](int) {};
    };
    const std::vector<Page> pages = {
        {"default.htm (zondari-cli html: writeCataloguePage, files::replaceFile)", "default.htm",
            [](int i) {
                return std::vector<std::string>{"html", i % 2 ? "ZOND_DEFAULT_JAZZ_2.txt" : "ZOND_DEFAULT_ROCK_1.txt"};
            }},
        {"database page (zondari-cli database: writeDatabasePage, files::replaceFile)", "zondari-database-generale.htm",
            [](int) { return std::vector<std::string>{"database"}; },
            [&](int i) {
                pf.write("ZOND_DEFAULT_TITOLO_3.txt", i % 2 ? "Dispari\r\n/a.mp3\r\n" : "Pari\r\n/a.mp3\r\n");
            }},
        {"search page (zondari-cli search: writeDatabasePage, files::replaceFile)", "zondari-pagina-di-ricerca.htm",
            [](int i) {
                return std::vector<std::string>{"search", i % 2 ? "jazz" : "rock"};
            }},
        {"pocket catalogue (zondari-cli tascabile: writePocketPage, files::replaceFile)",
            "zondari-catalogo-tascabile.htm", [](int) { return std::vector<std::string>{"tascabile"}; },
            [&](int i) {
                pf.write("ZOND_DEFAULT_TITOLO_3.txt", i % 2 ? "Dispari\r\n/a.mp3\r\n" : "Pari\r\n/a.mp3\r\n");
            }},
    };
    for (const Page& page : pages) {
        SCOPED_TRACE(page.name);
        Learnt learnt;
        const std::string target = pf / page.file;
        Loop loop{page.name, target, pf.path(), [&](int i) {
                      page.before(i);
                      std::vector<std::string> argv = {cli};
                      for (const std::string& a : page.args(i))
                          argv.push_back(a);
                      WriterRun job{argv, programFolderEnv(pf), false, {}};
                      if (fs::exists(target))
                          job.expectedNew = learnt.expect(i, readFile(target));
                      return job;
                  }};
        killWhileWriting(loop);
        fs::remove(pf / "ZOND_DEFAULT_TITOLO_3.txt");
    }
}
