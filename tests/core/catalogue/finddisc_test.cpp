// Where a catalogued file is now, from the catalogue's name or volume file
// and the volumes mounted: one line a case.

#include <gtest/gtest.h>

#include "core/catalogue/finddisc.h"

using namespace zondari::catalogue;

namespace {

std::vector<std::string> split(const std::string& s, char by)
{
    std::vector<std::string> out(1);
    for (char c : s) {
        if (c == by)
            out.emplace_back();
        else
            out.back().push_back(c);
    }
    return out;
}

struct Case {
    const char* catalogue;
    const char* volumeFile; // label|serial|Windows serial|uuid|folder scanned|root; "" for none
    const char* recorded;
    const char* mounts; // point|label|serials|uuid, ";" between volumes
    const char* expected; // the local path, "non montato", or "non identificato: " + the recorded path
};

const Case kCases[] = {
    {"ZOND_DEFAULT_ROCK80_439041101.txt", "", "E:\\Musica\\Rock\\a.mp3", "/media/cdrom0|ROCK80|439041101|",
        "/media/cdrom0/Musica/Rock/a.mp3"},
    {"ZOND_ANNA_B_MY_BEST CD_-5.txt", "", "D:\\x y.mp3", "/|ROOT|1|;/media/u/MY_BEST CD|MY_BEST CD|4294967291|",
        "/media/u/MY_BEST CD/x y.mp3"},
    {"ZOND_DEFAULT_ROCK_439041101.txt", "ROCK|x|1A2B-3C4D||/media/cd|", "/media/cd/Rock/a.mp3",
        "/run/media/io/ROCK|ROCK|439041101|", "/run/media/io/ROCK/Rock/a.mp3"},
    {"ZOND_DEFAULT_DATI_-1.txt", "DATI|-1|FFFF-FFFF||/mnt/d|/mnt/d", "/mnt/d/b.mp3", "/mnt/e|DATI|4294967295|",
        "/mnt/e/b.mp3"},
    {"ZOND_DEFAULT__7-media-usb-Musica.txt", "|||0d3c-77AB|/media/usb/Musica|/media/usb", "/media/usb/Musica/c.mp3",
        "/media/altro|NUOVA|5|0D3C-77ab", "/media/altro/Musica/c.mp3"},
    {"ZOND_DEFAULT_ROCK80_439041101.txt", "", "E:\\a.mp3", "/media/cdrom0|ROCK80|439041101|;/media/cdrom0|JAZZ|77|",
        "non montato"},
    {"ZOND_DEFAULT_JAZZ_77.txt", "", "/media/cdrom0/a.mp3", "/media/cdrom0|ROCK80|439041101|;/media/cdrom0|JAZZ|77|",
        "/media/cdrom0/a.mp3"},
    {"ZOND_DEFAULT_ROCK80_439041101.txt", "", "E:\\a.mp3", "/media/cdrom0|ROCK80|439041102|", "non montato"},
    {"ZOND_DEFAULT__0C--Musica-Rock.txt", "", "C:\\Musica\\Rock\\a.mp3", "/media/cdrom0|ROCK80|439041101|",
        "non identificato: C:\\Musica\\Rock\\a.mp3"},
    {"ZOND_DEFAULT_L_5-media-cd-Musica.txt", "L|5|0000-0005||/media/cd/Musica|", "/media/cd/Musica/Pop/a.mp3",
        "/mnt/x|L|5|", "/mnt/x/Musica/Pop/a.mp3"},
};

std::string outcome(const Case& c)
{
    std::optional<VolumeData> volume;
    if (*c.volumeFile) {
        const auto f = split(c.volumeFile, '|');
        volume.emplace();
        std::string* fields[]
            = {&volume->label, &volume->serial, &volume->windowsSerial, &volume->uuid, &volume->folder, &volume->root};
        for (std::size_t i = 0; i < 6; ++i)
            *fields[i] = f[i];
    }
    std::vector<MountedVolume> mounts;
    for (const std::string& m : split(c.mounts, ';')) {
        const auto f = split(m, '|');
        MountedVolume v{f[0], f[1], {}, f[3]};
        for (const std::string& s : split(f[2], ','))
            v.serials.push_back(static_cast<std::uint32_t>(std::stoul(s)));
        mounts.push_back(v);
    }
    const auto disc = discIdentity(c.catalogue, split(c.catalogue, '_')[1] == "ANNA" ? "ANNA_B" : "DEFAULT", volume);
    const Located at
        = locate(c.recorded, disc, mounts, [](const std::string& p) { return p == "/mnt/x/Musica/Pop/a.mp3"; });
    switch (at.where) {
    case Whereabouts::Mounted:
        return at.path;
    case Whereabouts::NotMounted:
        return "non montato";
    case Whereabouts::Unidentified:
        return "non identificato: " + at.path;
    }
    return {};
}

TEST(FindDisc, EachCatalogueFindsItsDiscOrSaysWhyNot)
{
    for (const Case& c : kCases)
        EXPECT_EQ(outcome(c), c.expected) << c.catalogue << " " << c.recorded << " on " << c.mounts;
}

} // namespace
