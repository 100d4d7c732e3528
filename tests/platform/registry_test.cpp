#include <gtest/gtest.h>
#include <map>

#include "platform/registry.h"
#include "support/pathset.h"

using namespace zondari;
using namespace zondari::test;

namespace {

std::string tool(const TempDir& dir, const std::string& name)
{
    return writeProgram(dir, name, "#!/bin/sh\nexit 0\n");
}

} // namespace

TEST(Registry, TheMsinfoKeysNameTheFirstSystemInformationToolOnPath)
{
    TempDir first;
    TempDir second;
    tool(second, "hardinfo2");
    const std::string kinfo = tool(first, "kinfocenter");
    first.write("hardinfo", "not executable");
    PathSet path(first.path() + ":" + second.path());

    std::string value = "prima";
    // The preferred tool wins wherever it is on PATH.
    ASSERT_TRUE(GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", value));
    EXPECT_EQ(value, second / "hardinfo2");
    ASSERT_TRUE(GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", value));
    EXPECT_EQ(value, second.path());
    // Key and value names regardless of letter case.
    value.clear();
    EXPECT_TRUE(GetKeyValue(HKEY_LOCAL_MACHINE, "software\\microsoft\\shared tools\\msinfo", "path", value));
    EXPECT_EQ(value, second / "hardinfo2");

    PathSet onlyFirst(first.path());
    ASSERT_TRUE(GetKeyValue(HKEY_LOCAL_MACHINE, registry::kMsinfoKey, "PATH", value));
    EXPECT_EQ(value, kinfo);
    EXPECT_EQ(systemInformationProgram(), kinfo);
}

TEST(Registry, SystemInformationFallsBackOnTheToolInTheSharedToolsLocation)
{
    TempDir location;
    // A registry that has only the location, as a stand-in for one that
    // was filled by hand.
    std::map<std::string, std::string> keys = {{registry::kToolsLocationKey, location.path()}};
    const KeyLookup lookup = [&keys](std::uint32_t, const std::string& key, const std::string&, std::string& v) {
        const auto it = keys.find(key);
        if (it == keys.end()) {
            v.clear();
            return false;
        }
        v = it->second;
        return true;
    };
    // An empty location: nothing to start.
    EXPECT_EQ(systemInformationProgram(lookup), "");
    location.write("cpu-x", "");
    location.write("kinfocenter", "");
    EXPECT_EQ(systemInformationProgram(lookup), location / "kinfocenter");

    // The tool key wins over the location.
    keys[registry::kMsinfoKey] = "/opt/strumenti/info";
    EXPECT_EQ(systemInformationProgram(lookup), "/opt/strumenti/info");
}
