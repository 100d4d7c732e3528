#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/alsamixer.h"
#include "support/qt/mastervolume.h"

using namespace zondari;
using namespace zondari::test;

TEST(AlsaMixer, TheMasterElementSetsAndReadsTheSinksVolume)
{
    REQUIRE_MASTER_VOLUME();
    SinkVolumeKept kept;
    AlsaMixer mixer;
    ASSERT_EQ(mixer.open(), MixerResult::Ok);
    MixerControl control;
    ASSERT_EQ(mixer.speakersVolume(control), MixerResult::Ok);
    // ALSA's PulseAudio plug-in gives its master the sink's raw range.
    EXPECT_EQ(control.name, "Master");
    EXPECT_EQ(control.minimum, 0);
    EXPECT_EQ(control.maximum, 65536);

    ASSERT_EQ(mixer.setValue(control, 20000), MixerResult::Ok);
    EXPECT_EQ(sinkVolume(), 20000);
    // Changed elsewhere, then set again to the value it had: it still
    // reaches the system.
    ASSERT_TRUE(setSinkVolume(45000));
    ASSERT_EQ(mixer.setValue(control, 20000), MixerResult::Ok);
    EXPECT_EQ(sinkVolume(), 20000);
    // A change made elsewhere is read back once the server has told it.
    ASSERT_TRUE(setSinkVolume(45000));
    std::int32_t value = -1;
    MixerResult read = MixerResult::Ok;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            read = mixer.getValue(control, value);
            return read != MixerResult::Ok || value == 45000;
        },
        5000));
    ASSERT_EQ(read, MixerResult::Ok);
    EXPECT_EQ(value, 45000);

    // Outside the bounds: refused, the volume stays.
    EXPECT_EQ(mixer.setValue(control, 70000), MixerResult::InvalidValue);
    EXPECT_EQ(mixer.setValue(control, -1), MixerResult::InvalidValue);
    EXPECT_EQ(sinkVolume(), 45000);
}

TEST(AlsaMixer, FailuresComeBackAsResultCodes)
{
    REQUIRE_MASTER_VOLUME();
    AlsaMixer missing("zondari_nessun_mixer");
    EXPECT_EQ(missing.open(), MixerResult::BadDevice);
    EXPECT_FALSE(missing.isOpen());
    MixerControl control{"Master", 0, 65536};
    EXPECT_EQ(missing.speakersVolume(control), MixerResult::NotOpen);
    EXPECT_EQ(missing.setValue(control, 100), MixerResult::NotOpen);

    // A device without the elements looked for has no speakers' volume.
    AlsaMixer noElement("default", {"Nessuno"});
    ASSERT_EQ(noElement.open(), MixerResult::Ok);
    MixerControl none;
    EXPECT_EQ(noElement.speakersVolume(none), MixerResult::InvalidLine);
    EXPECT_EQ(noElement.setValue(none, 0), MixerResult::InvalidControl);
    std::int32_t value = 0;
    EXPECT_EQ(noElement.getValue(none, value), MixerResult::InvalidControl);
}
