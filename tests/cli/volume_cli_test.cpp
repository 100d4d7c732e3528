#include <gtest/gtest.h>

#include "support/cli.h"

using namespace zondari::test;

// (Each tool's image, CDs among them: platform/volume_test.)
TEST(CliVolume, PrintsTypeLabelAndSerialOfImagesAndFolders)
{
    TempDir t;
    const std::string img = t / "chiavetta.img";
    ASSERT_EQ(run("mkfs.vfat -C -n ROCK80 -i 9A2B3C4D '" + img + "' 1440 >/dev/null 2>&1"), 0);
    CliRun r = runCli("volume " + shellQuoted(img));
    EXPECT_EQ(r.status, 0) << r.err;
    // 0x9A2B3C4D has its top bit set: the catalogue name writes it negative.
    EXPECT_EQ(r.out,
        "File system\tvfat\nEtichetta\tROCK80\nNumero di serie\t-1708442547\n"
        "Numero di serie (Windows)\t9A2B-3C4D\n");

    // A folder: the volume that holds it.
    r = runCli("volume " + shellQuoted(t.path()));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\nNumero di serie (Windows)\t"), std::string::npos);
}
