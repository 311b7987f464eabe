// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"
#include "audio/CSoundManager.h"
#include "audio/SoundIds.h"
#include "platform/AudioOutput.h"
#include "platform/Clock.h"
#include "platform/WaveOutput.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using audiotest::WavBytes;

namespace {

// A mono file of the given samples, 16-bit at 44100 Hz unless told.
std::string wavFile(const std::string& name, const std::vector<int>& samples, int rate = 44100,
                    int bits = 16)
{
    WavBytes wav;
    wav.riff();
    wav.fmt(1, 1, rate, bits);
    std::vector<std::uint8_t> data;
    for (const int v : samples) {
        data.push_back(std::uint8_t(v));
        if (bits == 16)
            data.push_back(std::uint8_t(v >> 8));
    }
    wav.data(data, std::uint32_t(data.size()));
    wav.closeRiff();
    audiotest::writeBytes(name, wav.bytes);
    return name;
}

// A ramp, so mixed output shows the position.
std::string rampFile(const std::string& name, int frames, int start = 1)
{
    std::vector<int> samples;
    for (int i = 0; i < frames; ++i)
        samples.push_back((start + i) * 10);
    return wavFile(name, samples);
}

class Effects : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager.setFailureNotice([this](const std::string&, const std::string&) { ++failures; });
        ASSERT_EQ(manager.initialise(nullptr, SoundDevice::createDetached()), kSoundOk);
        manager.enable();
    }

    // The left samples of the next frames the device mixes.
    std::vector<int> mix(int frames)
    {
        std::vector<std::int32_t> out(std::size_t(frames) * 2, 0);
        manager.device()->mix(out.data(), frames);
        std::vector<int> left;
        for (int i = 0; i < frames; ++i) {
            left.push_back(out[2 * i]);
        }
        return left;
    }

    TempDir dir;
    CSoundManager manager;
    int failures = 0;
};

} // namespace

TEST_F(Effects, PlayingAgainRestartsUnlessSkipped)
{
    ASSERT_TRUE(manager.load(rampFile("ramp.wav", 1000), SoundId::Pop));
    manager.play(SoundId::Pop);
    EXPECT_EQ(mix(3), (std::vector<int>{10, 20, 30}));
    mix(100);
    manager.play(SoundId::Pop, CSoundManager::WhilePlaying::Skip);
    EXPECT_EQ(mix(1), std::vector<int>{1040});
    manager.play(SoundId::Pop);
    EXPECT_EQ(mix(1), std::vector<int>{10});
    EXPECT_TRUE(manager.isPlaying(SoundId::Pop));
    mix(2000);
    EXPECT_FALSE(manager.isPlaying(SoundId::Pop));
    manager.play(SoundId::Pop, CSoundManager::WhilePlaying::Restart, CSoundManager::Repeat::Loop);
    mix(2500);
    EXPECT_TRUE(manager.isPlaying(SoundId::Pop));
}

TEST_F(Effects, ThreeLoudEffectsAtOnceClipInsteadOfWrapping)
{
    ASSERT_TRUE(manager.load(wavFile("high.wav", std::vector<int>(500, 30000)), SoundId::Pop));
    ASSERT_TRUE(manager.load(wavFile("higher.wav", std::vector<int>(500, 31000)), SoundId::Bowl));
    ASSERT_TRUE(manager.load(wavFile("low.wav", std::vector<int>(500, -30000)), SoundId::Shot));
    manager.play(SoundId::Pop);
    manager.play(SoundId::Bowl);
    std::vector<std::int32_t> sums(2 * 4, 0);
    manager.device()->mix(sums.data(), 4);
    std::vector<std::int16_t> out(sums.size());
    AudioOutput::toPcm(sums.data(), out.data(), out.size());
    EXPECT_EQ(sums[0], 61000);
    EXPECT_EQ(out, std::vector<std::int16_t>(8, 32767));
    manager.play(SoundId::Shot);
    std::fill(sums.begin(), sums.end(), -70000); // the rest of a mix far below full scale
    manager.device()->mix(sums.data(), 4);
    AudioOutput::toPcm(sums.data(), out.data(), out.size());
    EXPECT_EQ(sums[1], -70000 + 31000);
    EXPECT_EQ(out, std::vector<std::int16_t>(8, -32768));
}

TEST_F(Effects, DisabledCallsAreNotReplayed)
{
    ASSERT_TRUE(manager.load(rampFile("ramp.wav", 1000), SoundId::Select));
    manager.disable();
    manager.play(SoundId::Select);
    EXPECT_FALSE(manager.isPlaying(SoundId::Select));
    manager.enable();
    EXPECT_FALSE(manager.isPlaying(SoundId::Select));
    EXPECT_EQ(mix(1), std::vector<int>{0});
    manager.play(12345); // unknown ids are silent
    EXPECT_EQ(mix(1), std::vector<int>{0});
}

TEST_F(Effects, LoadsUnderAUsedIdReplaceOrKeep)
{
    ASSERT_TRUE(manager.load(rampFile("first.wav", 100, 1), SoundId::Bonk));
    ASSERT_TRUE(manager.load(rampFile("second.wav", 100, 50), SoundId::Bonk));
    manager.play(SoundId::Bonk);
    EXPECT_EQ(mix(1), std::vector<int>{500});
    EXPECT_FALSE(manager.load("missing.wav", SoundId::Bonk));
    EXPECT_EQ(failures, 1);
    manager.play(SoundId::Bonk);
    EXPECT_EQ(mix(1), std::vector<int>{500});
}

TEST_F(Effects, VolumeBecomesAttenuation)
{
    EXPECT_EQ(CSoundManager::attenuationFor(100), 0);
    EXPECT_EQ(CSoundManager::attenuationFor(0), -10000);
    EXPECT_EQ(CSoundManager::attenuationFor(50), -7500);
    manager.setVolume(250);
    EXPECT_EQ(manager.volume(), 100);
    manager.setVolume(50);
    ASSERT_TRUE(manager.load(rampFile("ramp.wav", 1000), SoundId::Shot));
    manager.play(SoundId::Shot);
    EXPECT_EQ(manager.effect(SoundId::Shot)->buffer(0).volume(), -7500);
    // -75 dB of 10 is far below one step.
    EXPECT_EQ(mix(1), std::vector<int>{0});
}

TEST_F(Effects, LostBuffersAreRefilledOnTheNextPlay)
{
    ASSERT_TRUE(manager.load(rampFile("ramp.wav", 1000), SoundId::Bowl));
    manager.device()->loseBuffers();
    std::uint32_t status = 0;
    manager.effect(SoundId::Bowl)->buffer(0).getStatus(&status);
    EXPECT_TRUE(status & SoundBuffer::kStatusLost);
    manager.play(SoundId::Bowl);
    EXPECT_EQ(mix(2), (std::vector<int>{10, 20}));
}

TEST_F(Effects, EffectsAreConvertedToTheOutputRate)
{
    ASSERT_TRUE(
        manager.load(wavFile("eight.wav", std::vector<int>(100, 255), 22050, 8), SoundId::TakeOff));
    manager.play(SoundId::TakeOff);
    const std::vector<int> left = mix(250);
    EXPECT_EQ(left[0], 127 * 256);
    EXPECT_EQ(left[199], 127 * 256);
    EXPECT_EQ(left[200], 0); // 100 frames at 22050 Hz last 200 output frames
}

// A manager that tried its device under an SDL audio driver that gives none,
// with failure notices counted and standard error captured from the try on.
class SoundWithoutDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager.setFailureNotice([this](const std::string&, const std::string&) { ++failures; });
    }
    void TearDown() override { ::unsetenv("SDL_AUDIODRIVER"); }
    void initialiseUnder(const char* driver)
    {
        ::setenv("SDL_AUDIODRIVER", driver, 1);
        testing::internal::CaptureStderr();
        EXPECT_NE(manager.initialise(nullptr), kSoundOk);
        EXPECT_FALSE(manager.hasDevice());
        manager.enable();
    }

    TempDir dir;
    CSoundManager manager;
    int failures = 0;
};

// The player chose no sound output: the effects are silent and nothing is said.
TEST_F(SoundWithoutDevice, ASwitchedOffOutputLoadsNothingAndSaysNothing)
{
    initialiseUnder("dummy");
    EXPECT_FALSE(manager.load(rampFile("ramp.wav", 100), SoundId::GlassBreaks));
    EXPECT_FALSE(manager.load(rampFile("ramp2.wav", 100), SoundId::Pop));
    manager.play(SoundId::GlassBreaks);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(WaveOutput::openDefault(WaveFormat::pcm(2, 44100, 16)), nullptr);
}

// A device that cannot be opened is said once, with the library's reason,
// however many effects there are.
TEST_F(SoundWithoutDevice, AFailingDeviceIsSaidOnceWithItsReason)
{
    initialiseUnder("no-such-driver");
    EXPECT_FALSE(manager.load(rampFile("ramp.wav", 100), SoundId::GlassBreaks));
    EXPECT_FALSE(manager.load(rampFile("ramp2.wav", 100), SoundId::Pop));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("no sound device ("), std::string::npos) << said;
    EXPECT_NE(said.find("no-such-driver"), std::string::npos) << said;
    EXPECT_EQ(failures, 0);
}

// Without any initialise a load still fails the way a missing device always did.
TEST_F(SoundWithoutDevice, ALoadBeforeAnyDeviceStillShowsTheNotice)
{
    EXPECT_FALSE(manager.load(rampFile("ramp.wav", 100), SoundId::GlassBreaks));
    EXPECT_EQ(failures, 1);
}

TEST(SoundOnADevice, EffectsAndMusicShareTheOutput)
{
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    TempDir dir;
    CSoundManager manager;
    ASSERT_EQ(manager.initialise(nullptr), kSoundOk);
    manager.enable();
    ASSERT_TRUE(manager.load(rampFile("long.wav", 44100 * 5), SoundId::ButtonClick));
    manager.play(SoundId::ButtonClick);
    EXPECT_TRUE(manager.isPlaying(SoundId::ButtonClick));
    std::unique_ptr<WaveOutput> music = WaveOutput::openDefault(WaveFormat::pcm(2, 44100, 16));
    ASSERT_NE(music, nullptr);
    ASSERT_TRUE(music->prepare(1 << 16));
    music->start();
    // The output thread moves the ring on by itself.
    for (int i = 0; i < 200 && music->position() == 0; ++i) {
        Clock::sleep(10);
    }
    EXPECT_GT(music->position(), 0u);
    music->reset();
    EXPECT_EQ(music->position(), 0u);
    music.reset();
    manager.shutdown();
    ::unsetenv("SDL_AUDIODRIVER");
}
