// Damaged and odd files through `zondari-cli info` (and a damaged settings
// file through `zondari-cli list`), each in a child whose time and memory
// are measured: sensible fields, no crash, no hang, bounded memory.

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "support/cli.h"
#include "support/mp3fixtures.h"

using namespace zondari::test;

namespace {

// `zondari-cli info PATH`, killed after `limit` seconds, with the lines it
// printed (label -> value).
struct Info : CliRun {
    std::map<std::string, std::string> fields;
};

Info runInfo(const std::string& path, double limit = 10)
{
    Info c{runCli("info " + shellQuoted(path), {}, {}, limit), {}};
    for (std::size_t at = 0; at < c.out.size();) {
        const auto nl = c.out.find('\n', at);
        const std::string line = c.out.substr(at, nl - at);
        const auto tab = line.find('\t');
        if (tab != std::string::npos)
            c.fields[line.substr(0, tab)] = line.substr(tab + 1);
        at = nl == std::string::npos ? c.out.size() : nl + 1;
    }
    return c;
}

// An ID3v2 header of `size` bytes (syncsafe) and `flags`.
std::string id3v2(std::uint32_t size, char flags = 0)
{
    std::string h = std::string("ID3\x03\x00", 5) + flags;
    for (int shift : {21, 14, 7, 0})
        h += static_cast<char>((size >> shift) & 0x7F);
    return h;
}

// A sanitizer build (make test-asan) gives every process tens of MiB of
// shadow memory: the bound there only catches a runaway.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kPeakKib = 256 * 1024;
#else
constexpr long kPeakKib = 16 * 1024;
#endif

// What every damaged file must keep: a finished child, quickly, in little
// memory, with every line of the details window.
void expectQuickAndSmall(const CliRun& c, const std::string& what)
{
    EXPECT_NE(c.status, -1) << what << ": still running after 10 s";
    EXPECT_LT(c.seconds, 1.0) << what;
    EXPECT_LT(c.peakKib, kPeakKib) << what;
}

void expectSane(const Info& c, const std::string& what)
{
    expectQuickAndSmall(c, what);
    if (c.status == 0) {
        // The details lines, VBR, and the ID3v2 block: its line, and its
        // seven fields when there is a tag.
        const auto v2 = c.fields.find("ID3v2");
        ASSERT_NE(v2, c.fields.end()) << what << "\n" << c.out;
        EXPECT_EQ(c.fields.size(), v2->second == "assente" ? 21u : 28u) << what << "\n" << c.out;
        EXPECT_EQ(c.fields.count("Bitrate"), 1u) << what;
    } else {
        EXPECT_EQ(c.status, 1) << what << " " << c.err;
        EXPECT_NE(c.err.find("impossibile leggere"), std::string::npos) << what << " " << c.err;
    }
}

} // namespace

TEST(DamagedFiles, VbrHeadersWithoutFramesGiveNoTimeRatherThanAWrongOne)
{
    TempDir dir;
    // Xing (flag 1: frame count present) and VBRI, each counting 0 frames.
    const std::string xing = dir.write(
        "xing0.mp3", frame(k128, k128Length, std::string(32, '\0') + "Xing" + be32(1) + be32(0)) + frames(20));
    const std::string vbri = dir.write("vbri0.mp3",
        frame(k128, k128Length, std::string(32, '\0') + "VBRI" + std::string(10, '\0') + be32(0)) + frames(20));
    for (const std::string& path : {xing, vbri}) {
        Info c = runInfo(path);
        expectSane(c, path);
        EXPECT_EQ(c.status, 0);
        EXPECT_EQ(c.fields["VBR"], "Vero") << path;
        EXPECT_EQ(c.fields["Frequenza"], "44100") << path;
        EXPECT_EQ(c.fields["Durata"], "0:00") << path;
        EXPECT_EQ(c.fields["Bitrate"], "0") << path;
    }
}

TEST(DamagedFiles, FreeFormatStreamGetsItsBitRateFromTheFrameLength)
{
    TempDir dir;
    // Free format (bit-rate index 0) at 44.1 kHz: frames of 522 bytes, one
    // in two padded, 522 x 8 x 44100 / 1152 / 1000 = 159.86... kbit/s.
    std::string audio;
    for (int i = 0; i < 40; ++i)
        audio += frame(0xFFFB0064 | (i % 2 ? 0x200u : 0u), 522 + i % 2);
    Info c = runInfo(dir.write("free.mp3", audio));
    expectSane(c, "free format");
    EXPECT_EQ(c.fields["Bitrate"], "160");
    EXPECT_EQ(c.fields["Versione"], "1");
    EXPECT_EQ(c.fields["Layer"], "3");
    EXPECT_EQ(c.fields["VBR"], "Falso");
}

TEST(DamagedFiles, Id3v2TagsPastTheEndOrUnsynchronisedAndReservedRates)
{
    TempDir dir;
    // A tag claiming 256 MiB in a file of a few KiB: no audio to look at.
    Info c = runInfo(dir.write("past.mp3", id3v2(0x0FFFFFFF) + frames(10)));
    expectSane(c, "ID3v2 past the end");
    EXPECT_EQ(c.fields["Bitrate"], "0");
    EXPECT_EQ(c.fields["Versione"], "0");
    EXPECT_EQ(c.fields["Durata"], "0:00");

    // Unsynchronised (flag 0x80): its size counts the bytes as stored, so
    // the audio after it is found; the false sync inside is not taken.
    const std::string unsync = "\xFF\x00\xFB\x90" + std::string(16, '\x11');
    c = runInfo(
        dir.write("unsync.mp3", id3v2(static_cast<std::uint32_t>(unsync.size()), '\x80') + unsync + frames(30)));
    expectSane(c, "unsynchronised ID3v2");
    EXPECT_EQ(c.fields["Bitrate"], "128");
    EXPECT_EQ(c.fields["Durata"], "0:00");
    EXPECT_EQ(c.fields["Frequenza"], "44100");

    // The reserved sampling-rate index (3) is no frame at all.
    c = runInfo(dir.write("reserved.mp3", frames(30, 0xFFFB9C64)));
    expectSane(c, "reserved sampling rate");
    EXPECT_EQ(c.fields["Frequenza"], "0");
    EXPECT_EQ(c.fields["Versione"], "0");
}

TEST(DamagedFiles, TruncatedLastFrameAndTinyFiles)
{
    TempDir dir;
    // 4,000 frames, the last one cut after 100 bytes: the time still
    // comes from the bytes there are.
    const std::string cut = frames(4000) + frame(k128, k128Length).substr(0, 100);
    Info c = runInfo(dir.write("cut.mp3", cut));
    expectSane(c, "truncated last frame");
    EXPECT_EQ(c.fields["Bitrate"], "128");
    EXPECT_EQ(c.fields["Durata"], "1:44"); // 1,668,100 bytes x 8 / 128,000

    for (std::size_t n : {0, 1, 127, 128, 129}) {
        // Tag-shaped bytes too: a 128-byte file that is all tag is still
        // shorter than the analysis takes.
        const std::string bytes = ("TAG" + frames(1)).substr(0, n);
        c = runInfo(dir.write("tiny" + std::to_string(n) + ".mp3", bytes));
        expectSane(c, std::to_string(n) + " bytes");
        EXPECT_EQ(c.status, 0);
        EXPECT_EQ(c.fields["Bitrate"], "0");
        EXPECT_EQ(c.fields["Hastag"], "Falso");
        EXPECT_EQ(c.fields["Nome brano"], "");
    }
}

TEST(DamagedFiles, AFiveGigabyteSparseFileReadsOnlyWhatItNeeds)
{
    TempDir dir;
    const std::string path = dir.write("grande.mp3", frames(20));
    ASSERT_EQ(::truncate(path.c_str(), off_t{5} << 30), 0);
    Info c = runInfo(path);
    expectSane(c, "5 GiB sparse");
    EXPECT_EQ(c.fields["Bitrate"], "128");
    // (5 GiB - 0) x 8 / 128,000 = 335,544 s.
    EXPECT_EQ(c.fields["Durata"], "5592:24");
}

TEST(DamagedFiles, FifoSocketFolderAndDeviceAreRefusedAtOnce)
{
    TempDir dir;
    const std::string fifo = dir / "coda.mp3";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string folder = dir.mkdir("x.mp3");
    const std::string sock = dir / "presa.mp3";
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", sock.c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    for (const std::string& path : {fifo, folder, sock, std::string("/dev/zero")}) {
        Info c = runInfo(path);
        expectSane(c, path);
        EXPECT_EQ(c.status, 1) << path;
        EXPECT_EQ(c.out, "") << path;
        EXPECT_EQ(c.err, "zondari-cli: impossibile leggere \"" + path + "\": Errore di accesso al percorso/file.\n");
    }
    ::close(s);
}

TEST(DamagedFiles, TagCommandRefusesSpecialFilesWithoutWaiting)
{
    TempDir dir;
    const std::string fifo = dir / "coda.mp3";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const CliRun read = runCli("tag " + shellQuoted(fifo), {}, {}, 10);
    const CliRun write = runCli("tag " + shellQuoted(fifo) + " --titolo Nuovo", {}, {}, 10);
    EXPECT_LT(read.seconds + write.seconds, 5.0);
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(write.status, 1);
    const std::string refused
        = "zondari-cli: impossibile leggere \"" + fifo + "\": Errore di accesso al percorso/file.\n";
    EXPECT_EQ(read.err, refused);
    EXPECT_EQ(write.err, refused);
}

TEST(DamagedFiles, SettingsFileIsReadNoFurtherThanItsFirstMebibyte)
{
    // A line of 300 MB after the keys (a hole: no disk is used), or a key
    // past the first MiB: the user stays Anna, in little memory.
    const std::string keys = "; c\r\n; c\r\nUtente=Anna\r\nFilesMusicali=.MP3\r\n";
    const struct {
        const char* what;
        std::string bytes;
        std::uintmax_t length; // made this long with a hole, when longer than the bytes
    } cases[] = {
        {"a 300 MB line", keys, 300'000'000},
        {"a key past the first MiB", keys + std::string(1 << 20, 'x') + "\r\nUtente=Bruno\r\n", 0},
    };
    for (const auto& c : cases) {
        TempDir pf;
        pf.write("ZOND_Anna_X_1.txt", "Di Anna\r\n");
        pf.write("ZOND_Bruno_X_1.txt", "Di Bruno\r\n");
        const std::string ini = pf.write("zondari.ini", c.bytes);
        if (c.length > c.bytes.size())
            std::filesystem::resize_file(ini, c.length);
        const CliRun r = runCli("list", pf.path(), {}, 10);
        expectQuickAndSmall(r, c.what);
        EXPECT_EQ(r.status, 0) << c.what << ": " << r.err;
        EXPECT_EQ(r.out, "ZOND_Anna_X_1.txt \\ (Di Anna)\n") << c.what;
    }
}
