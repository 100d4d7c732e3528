#pragma once

#include <string>
#include <string_view>

// Paths as the program builds them, with "/".
namespace zondari {

// `folder` with a trailing "/", added when missing.
inline std::string withSlash(const std::string& folder)
{
    return (!folder.empty() && folder.back() == '/') ? folder : folder + "/";
}

// `name` inside `folder`: a "/" between them unless the folder ends in one;
// an empty folder (the current one) leaves the name as it is.
inline std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += name;
    return path;
}

} // namespace zondari
