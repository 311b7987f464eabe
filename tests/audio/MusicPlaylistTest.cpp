// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MusicPlaylist.h"
#include "AudioTestSupport.h"
#include "platform/OfflineWaveOutput.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

namespace {

// A playlist on a deviceless output; every frame plays one block of the ring.
class Playlist : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto output = std::make_unique<OfflineWaveOutput>();
        ring = output.get();
        ASSERT_TRUE(list.initialise(std::move(output)));
        for (int i = 0; i < 5; ++i) {
            const std::string name = "track" + std::to_string(i) + ".xm";
            audiotest::writeBytes(name, audiotest::toneModule(4 + i).build());
            tracks.push_back(name);
        }
        audiotest::writeBytes("broken.xm", {'n', 'o'});
    }

    // Pumps frame by frame; returns the tracks started, in order.
    std::vector<int> frames(int count)
    {
        std::vector<int> started;
        int last = list.current();
        for (int i = 0; i < count; ++i) {
            ring->advance(MusicPlayer::kBlockFrames * 4);
            list.pump();
            if (list.current() != last || (list.isPlaying() && !wasPlaying)) {
                started.push_back(list.current());
            }
            last = list.current();
            wasPlaying = list.isPlaying();
        }
        return started;
    }

    TempDir dir;
    MusicPlaylist list;
    OfflineWaveOutput* ring = nullptr;
    std::vector<std::string> tracks;
    bool wasPlaying = true;
};

} // namespace

TEST_F(Playlist, SongEndMovesOnAndWraps)
{
    list.setVolume(64);
    list.setTracks({tracks[0], tracks[1]});
    list.playNext(-1);
    EXPECT_EQ(list.current(), 0);
    EXPECT_TRUE(list.isPlaying());
    // Track 0 lasts 4 rows (0.48 s, 24 blocks); the player stops once it has been heard.
    const std::vector<int> started = frames(24 + 2 + 30 + 2 + 2);
    EXPECT_EQ(started, (std::vector<int>{1, 0}));
}

TEST_F(Playlist, OneTrackRepeatsAndPlayNextWraps)
{
    list.setTracks({tracks[0]});
    list.playNext(-1);
    const std::vector<int> started = frames(3 * 26);
    EXPECT_GE(started.size(), 2u);
    for (int track : started) {
        EXPECT_EQ(track, 0);
    }
    list.setTracks(tracks);
    EXPECT_EQ(list.current(), -1);
    for (int i = 0; i < 5; ++i) {
        list.playNext(-1);
    }
    EXPECT_EQ(list.current(), 4);
    list.playNext(-1);
    EXPECT_EQ(list.current(), 0);
    list.playNext(3);
    EXPECT_EQ(list.current(), 0);
}

TEST_F(Playlist, VolumeZeroStopsAndALaterVolumeStartsTheNext)
{
    list.setTracks(tracks);
    list.setVolume(200);
    EXPECT_EQ(list.volume(), 64);
    list.playNext(-1);
    EXPECT_EQ(list.player().current()->state.globalVolume, 64);
    list.setVolume(0);
    EXPECT_FALSE(list.isEnabled());
    EXPECT_FALSE(list.isPlaying());
    list.playNext(-1);
    EXPECT_FALSE(list.isPlaying());
    list.setVolume(20);
    EXPECT_TRUE(list.isEnabled());
    EXPECT_TRUE(list.isPlaying());
    EXPECT_EQ(list.current(), 1);
    EXPECT_EQ(list.player().current()->state.globalVolume, 20);
}

TEST_F(Playlist, BrokenTracksAreSkippedOnTheNextPump)
{
    list.setTracks({"broken.xm", tracks[2]});
    list.playNext(-1);
    EXPECT_FALSE(list.isPlaying());
    list.pump();
    EXPECT_EQ(list.current(), 1);
    EXPECT_TRUE(list.isPlaying());
}

TEST(PlaylistWithoutDevice, DoesNothing)
{
    MusicPlaylist list;
    EXPECT_FALSE(list.initialise(nullptr));
    list.setTracks({"music/menu.xm"});
    list.setVolume(30);
    EXPECT_EQ(list.volume(), 100);
    list.playNext(-1);
    list.pump();
    EXPECT_FALSE(list.isPlaying());
    EXPECT_EQ(list.current(), -1);
}
