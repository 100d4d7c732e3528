#pragma once

#include <regex>
#include <string>

#include "support/tempdir.h"

namespace zondari::test {

// The version that CMakeLists.txt gives the project, as "X.Y.Z", read from
// the file itself.
inline std::string projectVersion()
{
    const std::string cmake = readFile(std::string(ZONDARI_SOURCE_DIR) + "/CMakeLists.txt");
    std::smatch m;
    if (!std::regex_search(cmake, m, std::regex(R"(project\(zondari\s+VERSION\s+(\d+)\.(\d+)\.(\d+))")))
        return "?";
    return std::to_string(std::stoi(m[1])) + "." + std::to_string(std::stoi(m[2])) + "."
        + std::to_string(std::stoi(m[3]));
}

} // namespace zondari::test
