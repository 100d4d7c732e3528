#pragma once

#include <map>
#include <string>

#include "support/cli.h"
#include "support/tempdir.h"

// Files tagged by the peers of the field through their command lines
// (mid3v2 of python3-mutagen, eyeD3, lame), and what ffprobe and mediainfo
// read from them.
namespace zondari::test::peertags {

struct Fields {
    std::string title, artist, album, year, comment, track, genre;
};

inline bool have(const std::string& program)
{
    return run("command -v " + program + " >/dev/null 2>&1") == 0;
}

// ID3v2.4, UTF-8, as mid3v2 writes it.
inline bool tagWithMid3v2(const std::string& path, const Fields& f)
{
    return run("mid3v2 -t " + shellQuoted(f.title) + " -a " + shellQuoted(f.artist) + " -A " + shellQuoted(f.album)
               + " -y " + shellQuoted(f.year) + " -c " + shellQuoted(f.comment) + " -T " + shellQuoted(f.track) + " -g "
               + shellQuoted(f.genre) + " " + shellQuoted(path) + " >/dev/null 2>&1")
        == 0;
}

// ID3v2.3, UTF-16, as eyeD3 writes it.
inline bool tagWithEyeD3(const std::string& path, const Fields& f)
{
    const auto slash = f.track.find('/');
    return run("eyeD3 --no-color --to-v2.3 --encoding utf16 -t " + shellQuoted(f.title) + " -a " + shellQuoted(f.artist)
               + " -A " + shellQuoted(f.album) + " --recording-date " + shellQuoted(f.year) + " -c "
               + shellQuoted(f.comment) + " -n " + shellQuoted(f.track.substr(0, slash))
               + (slash == std::string::npos ? "" : " -N " + shellQuoted(f.track.substr(slash + 1))) + " -G "
               + shellQuoted(f.genre) + " " + shellQuoted(path) + " >/dev/null 2>&1")
        == 0;
}

// The lame options that tag the encoded file with ID3v2 alone (in UTF-16).
inline std::string lameId3v2Only(const Fields& f)
{
    return "--id3v2-only --id3v2-utf16 --tt " + shellQuoted(f.title) + " --ta " + shellQuoted(f.artist) + " --tl "
        + shellQuoted(f.album) + " --ty " + shellQuoted(f.year) + " --tc " + shellQuoted(f.comment) + " --tn "
        + shellQuoted(f.track) + " --tg " + shellQuoted(f.genre);
}

// What ffprobe reads: its format tags by their lower-case names.
inline std::map<std::string, std::string> ffprobeTags(const std::string& path)
{
    std::map<std::string, std::string> tags;
    const std::string out = output("ffprobe -v quiet -show_entries format_tags -of default=nw=1 " + shellQuoted(path));
    std::size_t at = 0;
    while (at < out.size()) {
        std::size_t end = out.find('\n', at);
        if (end == std::string::npos)
            end = out.size();
        const std::string line = out.substr(at, end - at);
        at = end + 1;
        const auto eq = line.find('=');
        if (line.rfind("TAG:", 0) != 0 || eq == std::string::npos)
            continue;
        std::string key = line.substr(4, eq - 4);
        for (char& c : key)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        tags[key] = line.substr(eq + 1);
    }
    return tags;
}

// What mediainfo reads, in the same order as Fields.
inline Fields mediainfoFields(const std::string& path)
{
    const std::string out = output("mediainfo --Output='General;%Title%|%Performer%|%Album%|%Recorded_Date%|%Comment%|"
                                   "%Track/Position%|%Track/Position_Total%|%Genre%' "
        + shellQuoted(path));
    std::string parts[8];
    std::size_t k = 0;
    for (char c : out) {
        if (c == '|' && k < 7)
            ++k;
        else if (c != '\n')
            parts[k] += c;
    }
    return {parts[0], parts[1], parts[2], parts[3], parts[4], parts[6].empty() ? parts[5] : parts[5] + "/" + parts[6],
        parts[7]};
}

} // namespace zondari::test::peertags
