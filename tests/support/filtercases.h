#pragma once

// Search texts with field filters and the hits each must give, the same
// for every front end that searches (zondari-cli search, the search dialog,
// the pocket page), on catalogues a real scan made: one of MP3s lame tagged,
// a text file and a folder, and one made elsewhere without data.

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli.h"
#include "support/mp3fixtures.h"
#include "support/tempdir.h"

namespace zondari::test {

struct FilterCase {
    const char* text;
    bool caseSensitive;
    const char* hits; // the files found, by name, sorted; kRefused: the text is too short
};
inline constexpr const char* kRefused = "!";

// pink-time.mp3   Pink Floyd / Time / Dark Side / 1973 / Rock, 128 kbps, 3 s
// cura.mp3        Franco Battiato / La cura / L'imboscata / 1996 / Pop, 192 kbps, 2 s
// Live/pink-live.mp3  Pink / Live / 2004 / Rock, 64 kbps, 6 s
// pink.txt        not audio
// pink floyd.mp3  in the catalogue without data
inline const FilterCase kFilterCases[] = {
    {"pink", false, "pink floyd.mp3 pink-live.mp3 pink-time.mp3 pink.txt"},
    {"autore:floyd", false, "pink-time.mp3"},
    {"autore:\"Pink Floyd\"", false, "pink-time.mp3"},
    {"AUTORE:pink", false, "pink-live.mp3 pink-time.mp3"},
    {"autore:pink", true, ""},
    {"pink  autore:Pink\tkbps<100", true, "pink-live.mp3"},
    {"kbps>100", false, "cura.mp3 pink-time.mp3"},
    {"kbps<128 kbps>63", false, "pink-live.mp3"},
    {"durata<3", false, "cura.mp3"},
    {"durata>0:02", false, "pink-live.mp3 pink-time.mp3"},
    {"durata>0:00:05 genere:rock", false, "pink-live.mp3"},
    {"anno:1996", false, "cura.mp3"},
    {"anno:199", false, ""},
    {"titolo:CURA album:imbosc", false, "cura.mp3"},
    {"live autore:pink", false, "pink-live.mp3"},
    {"autore:\"Pink", false, ""},
    {"durata>1:5", false, ""},
    {"p autore:pink", false, kRefused},
};

// The files a search page lists, by name, sorted.
inline std::string hitsOf(const std::string& page)
{
    std::vector<std::string> names;
    for (std::size_t at = page.find("<a href="); at != std::string::npos; at = page.find("<a href=", at + 1)) {
        const std::size_t from = page.find('>', at) + 1, to = page.find("</a>", from);
        const std::string path = page.substr(from, to - from);
        names.push_back(path.substr(path.rfind('/') + 1));
    }
    std::sort(names.begin(), names.end());
    std::ostringstream out;
    for (std::size_t i = 0; i < names.size(); ++i)
        out << (i ? " " : "") << names[i];
    return out.str();
}

// The catalogues above, in `programFolder`; `scanned` is the scan's
// catalogue file name, empty when the tools or the scan failed.
struct FilterCatalogues {
    explicit FilterCatalogues(const std::string& programFolder)
    {
        if (!haveMp3Tools())
            return;
        const std::string m = music.path();
        makeMp3(m, "pink-time.mp3",
            {3.0, 44100, 2, "-b 128 --add-id3v2 --ta 'Pink Floyd' --tt Time --tl 'Dark Side' --ty 1973 --tg Rock"});
        makeMp3(m, "cura.mp3",
            {2.0, 44100, 2,
                "-b 192 --add-id3v2 --ta 'Franco Battiato' --tt 'La cura' --tl \"L'imboscata\" --ty 1996 --tg Pop"});
        makeMp3(music.mkdir("Live"), "pink-live.mp3",
            {6.0, 44100, 1, "-b 64 -m m --add-id3v2 --ta Pink --tt Live --ty 2004 --tg Rock"});
        music.write("pink.txt", "note");
        const CliRun scan = runCli("scan --tutti " + shellQuoted(m), programFolder);
        if (scan.status == 0)
            scanned = scan.firstLine();
        std::ofstream(programFolder + "/ZOND_DEFAULT_VECCHIO_1.txt", std::ios::binary)
            << "Vecchio\r\n(/vecchio)\r\n/vecchio/pink floyd.mp3\r\n";
    }
    TempDir music;
    std::string scanned;
};

} // namespace zondari::test
