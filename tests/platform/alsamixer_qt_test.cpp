#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/alsamixer.h"
#include "support/qt/mastervolume.h"

// (A device that does not open and one without the speakers' element:
// ui/player/frmvolume_test.)

using namespace zondari;
using namespace zondari::test;

TEST(AlsaMixer, TheMasterElementSetsAndReadsTheSinksVolume)
{
    REQUIRE_MASTER_VOLUME();
    SinkVolumeKept kept;
    AlsaMixer mixer;
    ASSERT_TRUE(mixer.open());
    const auto found = mixer.speakersVolume();
    ASSERT_TRUE(found);
    const MixerControl control = *found;
    // ALSA's PulseAudio plug-in gives its master the sink's raw range.
    EXPECT_EQ(control.name, "Master");
    EXPECT_EQ(control.minimum, 0);
    EXPECT_EQ(control.maximum, 65536);

    ASSERT_TRUE(mixer.setValue(control, 20000));
    EXPECT_EQ(sinkVolume(), 20000);
    // Changed elsewhere, then set again to the value it had: it still
    // reaches the system.
    ASSERT_TRUE(setSinkVolume(45000));
    ASSERT_TRUE(mixer.setValue(control, 20000));
    EXPECT_EQ(sinkVolume(), 20000);
    // A change made elsewhere is read back once the server has told it.
    ASSERT_TRUE(setSinkVolume(45000));
    std::int32_t value = -1;
    bool readOk = true;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto read = mixer.getValue(control);
            readOk = read.ok();
            value = read.ok() ? *read : -1;
            return !readOk || value == 45000;
        },
        5000));
    ASSERT_TRUE(readOk);
    EXPECT_EQ(value, 45000);

    // Outside the bounds: refused, the volume stays.
    EXPECT_EQ(mixer.setValue(control, 70000).error(), MixerError::InvalidValue);
    EXPECT_EQ(mixer.setValue(control, -1).error(), MixerError::InvalidValue);
    EXPECT_EQ(sinkVolume(), 45000);
    // A device that is not there does not open.
    EXPECT_FALSE(AlsaMixer("zondari_nessun_mixer").open());
}
