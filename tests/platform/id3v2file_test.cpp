#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/id3v2file.h"
#include "support/child.h"
#include "support/id3v2bytes.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::test;
namespace b = zondari::test::id3v2bytes;

namespace {

// The same frames in each version's ids.
b::Tag fullTag(int major, b::Encoding e, const std::string& title)
{
    b::Tag t;
    t.major = major;
    t.padding = 64;
    const bool v22 = major == 2;
    t.text(v22 ? "TT2" : "TIT2", title, e)
        .text(v22 ? "TP1" : "TPE1", "Artista", e)
        .text(v22 ? "TAL" : "TALB", "Album", e)
        .text(major == 4 ? "TDRC"
                : v22    ? "TYE"
                         : "TYER",
            "1999", e)
        .text(v22 ? "TRK" : "TRCK", "3/12", e)
        .text(v22 ? "TCO" : "TCON", major == 4 ? "17" : "(17)", e)
        .comment("", "Nota", e);
    return t;
}

struct Case {
    int major;
    b::Encoding encoding;
    const char* title;
    std::uint8_t flags = 0;
};

// Latin-1 holds only Latin-1; UTF-8 any text. "ÿ" is the byte FF, which
// unsynchronisation exists for.
const Case kCases[] = {
    {2, b::Latin1, "Caffè"},
    {3, b::Latin1, "Caffè"},
    {4, b::Latin1, "Caffè"},
    {4, b::Utf8, "Ελληνικά ç"},
    {3, b::Latin1, "ÿÿ ÿ", 0x80},
};

} // namespace

TEST(Id3v2File, ReadsEachVersionAndTextEncoding)
{
    TempDir dir;
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.major) + "/" + std::to_string(int(c.encoding)));
        b::Tag tag = fullTag(c.major, c.encoding, c.title);
        tag.flags = c.flags;
        const std::string path = dir.write("brano.mp3", tag.bytes() + b::audioAfter());
        const Id3v2Tag read = readId3v2(path);
        EXPECT_EQ(read.version, c.major);
        EXPECT_EQ(read.title, c.title);
        EXPECT_EQ(read.artist + "|" + read.album + "|" + read.year + "|" + read.track + "|" + read.comment + "|"
                + read.genre + "|" + std::to_string(read.genreNumber),
            "Artista|Album|1999|3/12|Nota|Rock|17");
    }
}

TEST(Id3v2File, TakesTheFirstCommentAndTheDateYearAndGenreNames)
{
    TempDir dir;
    b::Tag t;
    t.major = 4;
    t.text("TDRC", "2004-05-01").text("TCON", "Musica da camera").comment("desc", "Primo").comment("", "Secondo");
    Id3v2Tag tag = readId3v2(dir.write("a.mp3", t.bytes()));
    EXPECT_EQ(tag.year, "2004");
    EXPECT_EQ(tag.comment, "Primo");
    EXPECT_EQ(tag.genre, "Musica da camera");
    EXPECT_EQ(tag.genreNumber, -1);

    // ID3v2.3's number with a refinement; a comment's line ends become spaces.
    b::Tag r;
    r.text("TCON", "(4)Eurodisco").comment("", "riga 1\r\nriga 2");
    tag = readId3v2(dir.write("b.mp3", r.bytes()));
    EXPECT_EQ(tag.genre, "Disco"); // TagLib splits "(4)" and "Eurodisco"; the first counts
    EXPECT_EQ(tag.genreNumber, 4);
    EXPECT_EQ(tag.comment, "riga 1  riga 2");
}

TEST(Id3v2File, WhatIsNoTagGivesNoTag)
{
    TempDir dir;
    const std::string frames = fullTag(3, b::Latin1, "T").body();
    const std::vector<std::pair<std::string, std::string>> files = {
        {"vuoto.mp3", ""},
        {"corto.mp3", "ID3\x03"},
        {"audio.mp3", b::audioAfter()},
        {"versione5.mp3", "ID3\x05" + std::string(2, '\0') + b::syncsafe(uint32_t(frames.size())) + frames},
        {"versione1.mp3", "ID3\x01" + std::string(2, '\0') + b::syncsafe(uint32_t(frames.size())) + frames},
        {"dopo.mp3", b::audioAfter() + fullTag(3, b::Latin1, "T").bytes()},
    };
    for (const auto& [name, bytes] : files)
        EXPECT_FALSE(readId3v2(dir.write(name, bytes)).present()) << name;
    EXPECT_FALSE(readId3v2(dir / "manca.mp3").present());
    EXPECT_FALSE(readId3v2(dir.mkdir("cartella.mp3")).present());
    EXPECT_FALSE(readId3v2("").present());
    ASSERT_EQ(::mkfifo((dir / "fifo.mp3").c_str(), 0600), 0);
    EXPECT_FALSE(readId3v2(dir / "fifo.mp3").present()); // and it does not wait for a writer
}

namespace {

// "VmHWM" (the peak) or "VmRSS" (now) of this process, in KiB.
long statusKiB(const std::string& key)
{
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + ":", 0) == 0)
            return std::stol(line.substr(key.size() + 1));
    return -1;
}

} // namespace

TEST(Id3v2File, DamagedOrHugeTagsNeitherCrashNorHangNorTakeMuchMemory)
{
    // Each file is read in a child of its own ("path<TAB>title it must
    // give"), so that a crash or a hang ends the child and not the suite,
    // and the memory the read takes is measured from a reset peak.
    if (const std::string data = testChildData() ? testChildData() : ""; !data.empty()) {
        ::alarm(20);
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = statusKiB("VmRSS");
        const Id3v2Tag tag = readId3v2(data.substr(0, data.find('\t')));
        EXPECT_LT(statusKiB("VmHWM") - before, 64 * 1024);
        EXPECT_EQ(tag.title, data.substr(data.find('\t') + 1));
        return;
    }
    // Damaged tags of the fuzz corpus, a real tag with a 10 MiB picture
    // after its texts, and one made 200 MiB long (sparse) whose size claims
    // more than the cap: TagLib is handed the cap, not the file.
    TempDir dir;
    b::Tag picture;
    picture.text("TIT2", "Copertina")
        .frame("APIC", std::string("\0image/jpeg\0\x03\0", 14) + std::string(10 << 20, '\xAB'));
    b::Tag capped;
    capped.major = 4;
    capped.text("TIT2", "Grande");
    const std::string big = dir.write("grande.mp3", capped.bytes(b::syncsafe(0x0FFFFFFF)));
    ASSERT_EQ(::truncate(big.c_str(), 200ll << 20), 0);
    const std::string corpus = std::string(ZONDARI_SOURCE_DIR) + "/tests/fuzz/corpus/id3v2/";
    // The file, and the title that still reads from it.
    const std::pair<std::string, const char*> cases[] = {
        {corpus + "size-past-end", "Titolo"},
        {corpus + "frame-larger-than-tag", "T"},
        {corpus + "size-zero", ""},
        {corpus + "garbage-syncsafe", ""},
        {dir.write("copertina.mp3", picture.bytes() + b::audioAfter()), "Copertina"},
        {big, "Grande"},
    };
    for (const auto& [path, title] : cases)
        runTestInChild(path + "\t" + title, {});
}
