#pragma once

#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "support/tempdir.h"

namespace zondari::test {

// Sets PATH for as long as the object lives.
class PathSet {
public:
    explicit PathSet(const std::string& path)
        : saved_(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        ::setenv("PATH", path.c_str(), 1);
    }
    ~PathSet() { ::setenv("PATH", saved_.c_str(), 1); }
    PathSet(const PathSet&) = delete;
    PathSet& operator=(const PathSet&) = delete;

private:
    std::string saved_;
};

// Writes an executable script `name` into `dir`; its full path.
inline std::string writeProgram(const TempDir& dir, const std::string& name, const std::string& script)
{
    const std::string path = dir.write(name, script);
    ::chmod(path.c_str(), 0755);
    return path;
}

} // namespace zondari::test
