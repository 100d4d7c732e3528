// Finding a catalogued disc again (zondari-cli dove) on real loop-mounted
// volumes, and what zondari-cli suona hands the player, or refuses.

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

#include "platform/mounttable.h"
#include "support/cli.h"
#include "support/mp3fixtures.h"

using namespace zondari::test;

namespace {

struct Volume {
    const char* fileSystem;
    const char* make; // makes IMG
    const char* mount; // mounts IMG on DIR
    const char* label;
};

// Serial 0x1A2B3C4D on both: from the ext4 UUID, written into the NTFS boot sector.
const Volume kVolumes[] = {
    {"ext4", "truncate -s 8M IMG && mkfs.ext4 -q -F -L 'Disco Uno' -U 1a2b3c4d-0000-4000-8000-000000000001 IMG",
        "mount -o loop IMG DIR", "Disco Uno"},
    {"ntfs",
        "truncate -s 8M IMG && mkntfs -q -F -L Disco_Due IMG && printf '\\115\\074\\053\\032\\0\\0\\0\\0' | dd "
        "of=IMG bs=1 seek=72 conv=notrunc",
        "ntfs-3g IMG DIR", "Disco_Due"},
};

std::string with(std::string line, const std::string& img, const std::string& dir)
{
    for (const auto& [word, value] : {std::pair{"IMG", img}, std::pair{"DIR", dir}})
        for (std::size_t at; (at = line.find(word)) != std::string::npos;)
            line.replace(at, 3, shellQuoted(value));
    return line;
}

TEST(CliDove, SaysTheDiscIsOutThenFindsItWhereverItIsMountedNext)
{
    for (const Volume& v : kVolumes) {
        SCOPED_TRACE(v.fileSystem);
        TempDir pf, work;
        const std::string img = work / "img", a = work.mkdir("a"), b = work.mkdir("b");
        ASSERT_EQ(run("(" + with(v.make, img, a) + ") >/dev/null 2>&1"), 0);
        MountedImage first(a, with(v.mount, img, a));
        if (!first.ok())
            GTEST_SKIP() << "mounting is not allowed here";
        ASSERT_EQ(run("mkdir " + shellQuoted(a + "/Musica")), 0);
        ASSERT_FALSE(makeMp3(a + "/Musica", "brano.mp3").empty());
        const CliRun scan = runCli("scan --titolo Prova " + shellQuoted(a), pf.path());
        ASSERT_EQ(scan.status, 0) << scan.err;
        const std::string catalogue = scan.firstLine();

        zondari::MountWatch watch;
        first.unmount();
        EXPECT_TRUE(watch.wait(2000));
        const std::string head = a + "/Musica/brano.mp3\n  «Prova» (" + catalogue + "): ";
        CliRun dove = runCli("dove brano", pf.path());
        EXPECT_EQ(dove.out,
            head + "disco non inserito: Inserire il CD «Prova» (etichetta " + v.label
                + ", numero di serie 439041101)\n");

        MountedImage second(b, with(v.mount, img, b));
        ASSERT_TRUE(second.ok());
        dove = runCli("dove brano", pf.path());
        EXPECT_EQ(dove.out, head + "in " + b + "/Musica/brano.mp3\n");
        EXPECT_EQ(dove.status, 0);
    }
}

TEST(CliSuona, HandsThePlayerTheEntrysAddressAndRefusesAnyOther)
{
    TempDir pf;
    const std::string catalogue = "ZOND_DEFAULT_CD_5.txt";
    pf.write(catalogue, "Prova\r\n(/media/cd/a b)\r\n/media/cd/a b/\xE8.mp3\r\n");
    // The player, as the test sees it: what it was started with.
    const std::string got = pf / "avviato";
    pf.write("zondari",
        "#!/bin/sh\nprintf '%s' \"$*\" > " + shellQuoted(got) + ".tmp && mv " + shellQuoted(got) + ".tmp "
            + shellQuoted(got) + "\n");
    ASSERT_EQ(run("chmod +x " + shellQuoted(pf / "zondari")), 0);

    const std::string good = "zondari:riproduci?catalogo=" + catalogue + "&voce=/media/cd/a%20b/%E8.mp3";
    const std::string refused = ". Non viene riprodotto nulla.\n";
    const struct {
        std::string args, err;
    } cases[] = {
        {shellQuoted(good), ""},
        {catalogue + " " + shellQuoted("/media/cd/a b/\xE8.mp3"), ""},
        {shellQuoted("file:///media/cd/a%20b"), ""},
        {"'zondari:riproduci?catalogo=..%2Fzondari.ini&voce=x'",
            "Indirizzo non valido: \"../zondari.ini\" non è il nome di un catalogo" + refused},
        {"'zondari:riproduci?catalogo=ZOND_%24(touch%20x).txt&voce=a'",
            "Il catalogo ZOND_$(touch x).txt non è nella cartella del programma" + refused},
        {"'zondari:riproduci?catalogo=" + catalogue + "&voce=%2Fetc%2Fpasswd'",
            "La voce \"/etc/passwd\" non è nel catalogo " + catalogue + refused},
        {catalogue + " '/media/cd/a b/\xE8.mp3; rm -rf ~'",
            "La voce \"/media/cd/a b/\xE8.mp3; rm -rf ~\" non è nel catalogo " + catalogue + refused},
        {"'zondari:riproduci?catalogo=" + catalogue + "&voce=%E'",
            "Indirizzo non valido: codifica con % errata" + refused},
        {"'zondari:riproduci?catalogo=" + catalogue + "'",
            "Indirizzo non valido: manca la voce da riprodurre" + refused},
        {"'zondari:cancella?catalogo=" + catalogue + "&voce=x'",
            "Indirizzo non valido: l'unica richiesta conosciuta è \"riproduci\"" + refused},
        {"'file://altro/etc/passwd'", "Indirizzo non valido: il file non è su questo computer" + refused},
    };
    for (const auto& c : cases) {
        std::remove(got.c_str());
        const CliRun r = runCli("suona " + c.args, pf.path());
        EXPECT_EQ(r.err, c.err) << c.args;
        EXPECT_EQ(r.status, c.err.empty() ? 0 : 1) << c.args;
        if (!c.err.empty())
            continue;
        for (int i = 0; i < 200 && !std::ifstream(got); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(readFile(got), c.args.starts_with("'file") ? "file:///media/cd/a%20b" : good) << c.args;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(std::ifstream(got)) << "a refused address started the player";
}

} // namespace
