// The Debian package made by CPack from the build tree: its name, its
// dependencies, and lintian's verdict (which also finds files out of /usr;
// where each file goes: install_test).

#include <gtest/gtest.h>
#include <string>

#include "support/cli.h"
#include "support/projectversion.h"
#include "support/tempdir.h"

using namespace zondari::test;

namespace {

// The package, made once for every test of this file.
struct Made {
    TempDir out;
    int status = -1;
    std::string log = output(std::string(ZONDARI_CPACK_COMMAND) + " -G DEB --config "
            + shellQuoted(std::string(ZONDARI_BINARY_DIR) + "/CPackConfig.cmake") + " -B " + shellQuoted(out.path())
            + " 2>&1",
        &status);
    std::string deb
        = out / ("zondari_" + projectVersion() + "_" + output("dpkg --print-architecture | tr -d '\\n'") + ".deb");
};

// The package's file, once it was made.
std::string deb()
{
    static const Made made;
    EXPECT_EQ(made.status, 0) << made.log;
    EXPECT_EQ(run("test -f " + shellQuoted(made.deb)), 0) << "no " << made.deb << " in:\n" << made.log;
    return made.deb;
}

std::string field(const std::string& name)
{
    return output("dpkg-deb -f " + shellQuoted(deb()) + " " + name);
}

} // namespace

TEST(Package, DependsOnItsLibrariesAndOnWhatTheProgramRuns)
{
    EXPECT_EQ(field("Package"), "zondari\n");
    EXPECT_EQ(field("Version"), projectVersion() + "\n");
    const std::string depends = field("Depends");
    // Found by dpkg-shlibdeps from the executables.
    for (const char* library : {"libqt6widgets6", "libqt6dbus6", "libgstreamer1.0-0", "libasound2", "libblkid1"})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
    // Run, not linked: the opener, the decoders and sink, Qt's Italian.
    for (const char* runs : {"xdg-utils", "gstreamer1.0-plugins-base", "gstreamer1.0-plugins-good",
             "gstreamer1.0-pulseaudio", "qt6-translations-l10n"})
        EXPECT_NE(depends.find(runs), std::string::npos) << runs << " in " << depends;
    EXPECT_NE(field("Recommends").find("gstreamer1.0-libav"), std::string::npos);
}

TEST(Package, LintianFindsNoError)
{
    if (run("command -v lintian >/dev/null") != 0)
        GTEST_SKIP() << "lintian is missing (scripts/setup installs it)";
    int status = -1;
    const std::string said
        = output("lintian --fail-on error --tag-display-limit 0 " + shellQuoted(deb()) + " 2>&1", &status);
    EXPECT_EQ(status, 0) << said;
    EXPECT_EQ(said.find("E: "), std::string::npos) << said;
}
