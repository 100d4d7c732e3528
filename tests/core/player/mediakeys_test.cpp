#include <cmath>
#include <gtest/gtest.h>

#include "core/player/advance.h"
#include "core/player/mediakeys.h"
#include "core/player/mediavolume.h"
#include "core/player/playstate.h"

using namespace zondari;
using namespace zondari::mediakeys;

TEST(MediaKeys, PreviousRowGoesBackAndWrapsToTheLastTrack)
{
    EXPECT_EQ(previousTrackRow(3, 4), 2);
    EXPECT_EQ(previousTrackRow(2, 4), 1);
    EXPECT_EQ(previousTrackRow(1, 4), 3);
    // Nothing chosen yet, or a row that the grid has lost: the last track.
    EXPECT_EQ(previousTrackRow(0, 4), 3);
    EXPECT_EQ(previousTrackRow(7, 4), 3);
    EXPECT_EQ(previousTrackRow(1, 2), 1);
    EXPECT_EQ(previousTrackRow(0, 1), 0);
}

TEST(MediaKeys, StatusIsPlayingBetweenTwoTracksOfThePlayMode)
{
    EXPECT_STREQ(playbackStatus(kPlaying, true), "Playing");
    EXPECT_STREQ(playbackStatus(kPlaying, false), "Playing");
    EXPECT_STREQ(playbackStatus(kStopped, true), "Playing"); // the next row is about to start
    EXPECT_STREQ(playbackStatus(kStopped, false), "Stopped");
    EXPECT_STREQ(playbackStatus(kPaused, false), "Paused");
    EXPECT_STREQ(playbackStatus(kPaused, true), "Paused");
}

TEST(MediaKeys, VolumeOfAGainIsTheInverseOfTheGainOfAVolume)
{
    for (int v : {0, -1, -602, -2000, -6000, -9999})
        EXPECT_EQ(volumeOfGain(volumeGain(v)), v) << v;
    EXPECT_EQ(volumeOfGain(0.5), -602);
    EXPECT_EQ(volumeOfGain(0.0), kSilentVolume);
    EXPECT_EQ(volumeOfGain(-0.3), kSilentVolume);
    EXPECT_EQ(volumeOfGain(1e-9), kSilentVolume); // quieter than the quietest step
    EXPECT_EQ(volumeOfGain(1.5), 0); // no amplification
    EXPECT_EQ(volumeOfGain(std::nan("")), kSilentVolume);
}

TEST(MediaKeys, LengthsAreWholeMicroseconds)
{
    EXPECT_EQ(microseconds(3.0), 3000000);
    EXPECT_EQ(microseconds(185.0000004), 185000000);
    EXPECT_EQ(microseconds(0.0000016), 2);
    EXPECT_EQ(microseconds(0.0), 0);
    EXPECT_EQ(microseconds(-1.0), 0);
}

TEST(MediaKeys, TitleIsTheTagsOrElseTheFileName)
{
    TagRecord tag;
    tag.Title = "Emozioni                      ";
    tag.Artist = std::string("Lucio Battisti") + std::string(16, '\0');
    tag.Album = "Emozioni";
    const TrackText t = trackText("/musica/01 emozioni.mp3", tag);
    EXPECT_EQ(t.title, "Emozioni");
    EXPECT_EQ(t.artist, "Lucio Battisti");
    EXPECT_EQ(t.album, "Emozioni");

    // A tag with an empty title: the file's name, with its extension, as the
    // grid lists it; the other fields stay.
    tag.Title = std::string(30, ' ');
    const TrackText untitled = trackText("/musica/01 emozioni.mp3", tag);
    EXPECT_EQ(untitled.title, "01 emozioni.mp3");
    EXPECT_EQ(untitled.artist, "Lucio Battisti");

    const TrackText none = trackText("/musica/suono.wav", std::nullopt);
    EXPECT_EQ(none.title, "suono.wav");
    EXPECT_EQ(none.artist, "");
    EXPECT_EQ(none.album, "");
}
