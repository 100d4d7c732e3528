#include "core/about/version.h"

#include "buildinfo.h"

namespace zondari {

std::string versionLine(const std::string& title, int major, int minor, int revision)
{
    return title + " - Versione " + std::to_string(major) + "." + std::to_string(minor) + "."
        + std::to_string(revision);
}

std::string programVersionLine()
{
    return versionLine(kProgramName, build::kVersionMajor, build::kVersionMinor, build::kVersionPatch);
}

} // namespace zondari
