#pragma once

#include <string>

#include "support/cli.h"
#include "support/tempdir.h"

// Files tagged by the peers of the field through their command lines
// (mid3v2 of python3-mutagen, eyeD3).
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

} // namespace zondari::test::peertags
