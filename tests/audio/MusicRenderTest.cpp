// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MusicRender.h"
#include "AudioTestSupport.h"
#include "audio/MusicPlayer.h"
#include "platform/OfflineWaveOutput.h"
#include "support/ToolRun.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

using Cell = XmBuilder::Cell;

namespace {

MusicRender render(const XmBuilder& builder, double seconds = 0, int volume = 64)
{
    const std::vector<std::uint8_t> bytes = builder.build();
    return renderModule(bytes.data(), bytes.size(), seconds, volume);
}

constexpr std::size_t kSettled = 2000; // frames after the start ramp

} // namespace

TEST(MusicRendering, PitchAndLevelOfOneNote)
{
    const MusicRender r = render(audiotest::toneModule(16));
    ASSERT_TRUE(r.loaded);
    ASSERT_TRUE(r.songEnded);
    EXPECT_NEAR(r.seconds, 16 * 6 * 882 / 44100.0, 1e-9);
    // C-4 plays the sample at 8363 Hz: a 64-sample cycle sounds at 130.7 Hz.
    EXPECT_NEAR(audiotest::pitch(r.frames, 0, kSettled, 40000), 8363.0 / 64, 1.0);
    // Full volume, centre: gain 63 of 255 on each side.
    const double expected = 30000 / std::sqrt(2.0) * 63 / 255;
    EXPECT_NEAR(audiotest::rms(r.frames, 0, kSettled, 40000), expected, expected * 0.01);
    EXPECT_NEAR(audiotest::rms(r.frames, 1, kSettled, 40000), expected, expected * 0.01);

    XmBuilder octave = audiotest::toneModule(16);
    octave.cell(0, 0, 0).note = 61;
    octave.linear = false;
    const MusicRender amiga = render(octave);
    EXPECT_NEAR(audiotest::pitch(amiga.frames, 0, kSettled, 40000), 14317056.0 / 856 / 64, 2.0);
}

TEST(MusicRendering, PanningExtremesUseOneSide)
{
    const MusicRender left = render(audiotest::toneModule(8, 0));
    const MusicRender right = render(audiotest::toneModule(8, 255));
    EXPECT_GT(audiotest::rms(left.frames, 0, kSettled, 20000), 10000);
    EXPECT_EQ(audiotest::rms(left.frames, 1, kSettled, 20000), 0);
    EXPECT_EQ(audiotest::rms(right.frames, 0, kSettled, 20000), 0);
    EXPECT_GT(audiotest::rms(right.frames, 1, kSettled, 20000), 10000);
}

TEST(MusicRendering, GlobalAndMasterVolume)
{
    XmBuilder b = audiotest::toneModule(16);
    b.cell(0, 8, 0) = Cell{0, 0, 0, 16, 200}; // capped at 64: no change
    const MusicRender full = render(b);
    const double before = audiotest::rms(full.frames, 0, kSettled, 8 * 5292);
    const double after = audiotest::rms(full.frames, 0, 8 * 5292 + 500, 16 * 5292);
    EXPECT_NEAR(after, before, before * 0.01);
    const MusicRender half = render(b, 0, 32);
    EXPECT_NEAR(audiotest::rms(half.frames, 0, kSettled, 8 * 5292), before * 31 / 63,
                before * 0.02);
    const MusicRender silent = render(b, 0, 0);
    EXPECT_EQ(audiotest::rms(silent.frames, 0, 0, 8 * 5292), 0);
    EXPECT_GT(audiotest::rms(silent.frames, 0, 8 * 5292 + 500, 16 * 5292),
              1000); // the module's own G
}

// Samples far from zero: a new note that took over the old note's gain, or a
// note stopped at once, would step the output.
TEST(MusicRendering, NotesRampInFromSilenceAndOutToIt)
{
    XmBuilder b(1);
    XmBuilder::Sample high;
    high.data.assign(1000, 20000);
    high.loopLength = 1000;
    high.loopType = 1;
    XmBuilder::Sample low = high;
    low.data.assign(1000, -20000);
    XmBuilder::Sample once;
    once.data.assign(500, 20000);
    for (int i = 50; i > 0; --i) {
        once.data.push_back(std::int16_t(400 * i));
    }
    b.addInstrument(high);
    b.addInstrument(low);
    b.addInstrument(once);
    b.addPattern(8);
    b.cell(0, 0, 0) = Cell{49, 1, 0, 0, 0};
    b.cell(0, 1, 0) = Cell{49, 2, 0, 0, 0};
    b.cell(0, 2, 0) = Cell{49, 1, 0, 0, 0};
    b.cell(0, 3, 0) = Cell{49, 1, 0, 9, 0x04}; // offset past the end: the note stops
    b.cell(0, 4, 0) = Cell{49, 3, 0, 0, 0};    // ends by itself within the row
    b.cell(0, 5, 0) = Cell{49, 3, 0, 0, 0};
    b.cell(0, 6, 0) = Cell{49, 2, 0, 0, 0};
    const MusicRender r = render(b);
    ASSERT_TRUE(r.songEnded);
    int largestStep = 0;
    for (int c = 0; c < 2; ++c) {
        int previous = 0;
        for (std::size_t i = 0; i < r.frames.size() / 2; ++i) {
            largestStep = std::max(largestStep, std::abs(r.frames[2 * i + c] - previous));
            previous = r.frames[2 * i + c];
        }
    }
    // A full-level note ramps to 4941 over 128 frames: 39 a frame, twice that while one fades.
    EXPECT_LT(largestStep, 100);
    EXPECT_GT(audiotest::rms(r.frames, 0, 6 * 5292 + 500, 7 * 5292), 4000);
}

TEST(MusicRendering, SecondsLimitAndSongEnd)
{
    XmBuilder b = audiotest::toneModule(64);
    b.orders = {0, 0, 0};
    const MusicRender cut = render(b, 1.5);
    EXPECT_FALSE(cut.songEnded);
    EXPECT_EQ(cut.frames.size(), std::size_t(1.5 * 44100) * 2);
    const MusicRender whole = render(b);
    EXPECT_TRUE(whole.songEnded);
    EXPECT_NEAR(whole.seconds, 3 * 64 * 5292 / 44100.0, 1e-9);
    // The last row is heard to its end.
    EXPECT_GT(
        audiotest::rms(whole.frames, 0, whole.frames.size() / 2 - 2000, whole.frames.size() / 2),
        1000);
}

// A processor without SSE2 (arm64) mixes with the scalar loops alone; on the
// game's own tunes they play what the vector loops play.
TEST(MusicRendering, TheScalarLoopsPlayTheGamesTunesAsTheVectorLoopsDo)
{
    for (const char* tune : {"menu", "game01", "game02", "game03", "game04"}) {
        std::ifstream file(std::string(VM_GAME_DIR) + "/music/" + tune + ".xm", std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        ASSERT_FALSE(bytes.empty()) << tune;
        const MusicRender vector =
            renderModule(bytes.data(), bytes.size(), 0, 64, MixLoops::Vector);
        const MusicRender scalar =
            renderModule(bytes.data(), bytes.size(), 0, 64, MixLoops::Scalar);
        ASSERT_TRUE(vector.songEnded) << tune;
        ASSERT_EQ(scalar.frames.size(), vector.frames.size()) << tune;
        EXPECT_GT(audiotest::rms(vector.frames, 0, 0, vector.frames.size() / 2), 500) << tune;
        int largest = 0;
        for (std::size_t i = 0; i < vector.frames.size(); ++i)
            largest = std::max(largest, std::abs(scalar.frames[i] - vector.frames[i]));
        EXPECT_LE(largest, 1) << tune;
    }
}

TEST(MusicRendering, XmrenderToolWritesTheWave)
{
    TempDir dir;
    audiotest::writeBytes("tone.xm", audiotest::toneModule(16).build());
    audiotest::writeBytes("bad.xm", {'n', 'o', 't'});
    const std::string tool = std::string(VM_TOOLS_DIR) + "/xmrender ";
    const ToolRun tone = runTool(tool + "tone.xm tone.wav");
    ASSERT_EQ(tone.status, 0);
    EXPECT_EQ(tone.output.substr(tone.output.rfind('\n', tone.output.size() - 2) + 1), "1.920\n");
    EXPECT_EQ(std::filesystem::file_size("tone.wav"), 44u + 84672u * 4);
    const ToolRun bad = runTool(tool + "bad.xm bad.wav");
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.output.find("not an XM module"), std::string::npos);
}

TEST(MusicPlayback, ShortSongsPlayOutAndStopResetsTheDevice)
{
    MusicPlayer player;
    auto output = std::make_unique<OfflineWaveOutput>();
    OfflineWaveOutput* ring = output.get();
    ASSERT_TRUE(player.openDevice(std::move(output)));
    const std::vector<std::uint8_t> bytes = audiotest::toneModule(2).build(); // 10584 frames
    std::unique_ptr<MusicModule> song = player.loadFromMemory(bytes.data(), bytes.size());
    ASSERT_NE(song, nullptr);
    ASSERT_TRUE(player.play(*song));
    EXPECT_TRUE(player.songEnded()); // within the first second of mixing
    int blocks = 0;
    while (player.isPlaying() && blocks < 100) {
        ring->advance(MusicPlayer::kBlockFrames * 4);
        player.pump();
        ++blocks;
    }
    EXPECT_EQ(blocks, (10584 + MusicPlayer::kBlockFrames - 1) / MusicPlayer::kBlockFrames);
    EXPECT_FALSE(ring->isStarted());

    const std::vector<std::uint8_t> longer = audiotest::toneModule(64).build();
    std::unique_ptr<MusicModule> second = player.loadFromMemory(longer.data(), longer.size());
    ASSERT_TRUE(player.play(*second));
    ring->advance(MusicPlayer::kBlockFrames * 4 * 3);
    player.pump();
    EXPECT_TRUE(player.stop(*second));
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(ring->isStarted());
    EXPECT_EQ(ring->position(), 0u);
    player.free(std::move(second));
}
