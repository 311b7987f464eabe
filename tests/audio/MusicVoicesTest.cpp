// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MusicVoices.h"
#include "AudioTestSupport.h"
#include "audio/MixRun.h"
#include "audio/MusicRender.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// A ping-pong loop behind a lead-in of 0 or 2 values.
XmSample pingPongSample(int leadIn, int loopLength)
{
    XmSample s;
    s.length = leadIn + loopLength;
    s.loopStart = leadIn;
    s.loopLength = loopLength;
    s.loop = LoopType::PingPong;
    s.data.assign(std::size_t(leadIn), 20000);
    for (int i = 0; i < loopLength; ++i) {
        s.data.push_back(std::int16_t(-9000 + 9000 * i));
    }
    s.data.push_back(s.data.back()); // the guard value
    return s;
}

// Where a ping-pong voice is after travelling `travelled` (32.32) from the sample's start.
double expectedValue(const XmSample& s, std::int64_t travelled)
{
    const std::int64_t start = std::int64_t(s.loopStart) << 32;
    const std::int64_t length = std::int64_t(s.loopLength) << 32;
    std::int64_t position = travelled;
    if (position >= start) {
        const std::int64_t cycle = (position - start) % (2 * length);
        position = cycle < length ? start + cycle : start + 2 * length - 1 - cycle;
    }
    const std::int64_t index = position >> 32;
    const double fraction = double(position & 0xFFFFFFFF) / 4294967296.0;
    return s.data[index] + fraction * (s.data[index + 1] - s.data[index]);
}

// Plays every loop at many pitches on one voice at full left gain and reports the
// first frame that strays from the reflected path (1 when one does).
int sweepPingPongLoops()
{
    constexpr int kFrames = 3000;
    std::vector<float> out(2 * kFrames);
    for (int shape = 0; shape < 6; ++shape) {
        const int loopLength = 1 + shape % 3;
        const XmSample sample = pingPongSample(shape < 3 ? 0 : 2, loopLength);
        for (int note = 1; note <= 96; ++note) {
            for (int finetune : {-128, -37, 0, 10, 64, 127}) {
                ChannelState channel;
                channel.period = notePeriod(FrequencyTable::Linear, note - 1, finetune);
                const int frequency =
                    MusicVoices::channelFrequency(channel, FrequencyTable::Linear);
                MusicVoices voices;
                Voice& voice = voices.voice(0);
                voice.sample = &sample;
                voice.step = (std::int64_t(frequency) << 32) / MusicVoices::kRate;
                voice.gainLeft = 1.0f;
                std::fill(out.begin(), out.end(), 0.0f);
                voices.mix(out.data(), kFrames);
                for (int i = 0; i < kFrames; ++i) {
                    const double expected = expectedValue(sample, voice.step * i);
                    if (std::abs(out[2 * i] - expected) > 2.0 || out[2 * i + 1] != 0.0f) {
                        std::fprintf(stderr,
                                     "loop %d, note %d, finetune %d: frame %d is %g, not %g\n",
                                     loopLength, note, finetune, i, out[2 * i], expected);
                        return 1;
                    }
                }
                if (voices.voice(0).sample == nullptr) {
                    std::fprintf(stderr, "loop %d, note %d, finetune %d stopped\n", loopLength,
                                 note, finetune);
                    return 1;
                }
            }
        }
    }
    return 0;
}

// One note E-4 with finetune 10 on a three-value ping-pong loop.
XmBuilder shortPingPongModule()
{
    XmBuilder b(1);
    XmBuilder::Sample s;
    s.data = {-9000, 0, 9000};
    s.loopLength = 3;
    s.loopType = 2;
    s.finetune = 10;
    b.addInstrument(s);
    b.addPattern(4);
    b.cell(0, 0, 0) = {53, 1, 0, 0, 0};
    return b;
}

int renderShortPingPong()
{
    const std::vector<std::uint8_t> bytes = shortPingPongModule().build();
    const MusicRender r = renderModule(bytes.data(), bytes.size(), 0);
    const bool sounds = r.songEnded && audiotest::rms(r.frames, 0, 1000, 4 * 5292) > 1000;
    return sounds ? 0 : 1;
}

// A bumpy waveform with its guard value.
std::vector<std::int16_t> bumpyData()
{
    std::vector<std::int16_t> data;
    for (int i = 0; i < 300; ++i) {
        data.push_back(std::int16_t(20000 * std::sin(i * 0.3) + 9000 * std::cos(i * 2.1)));
    }
    data.push_back(data.back());
    return data;
}

double interpolated(const std::vector<std::int16_t>& data, std::int64_t position)
{
    const std::int64_t index = position >> 32;
    const double fraction = double(position & 0xFFFFFFFF) / 4294967296.0;
    return data[index] + fraction * (data[index + 1] - data[index]);
}

constexpr std::int64_t kSteps[] = {std::int64_t(0.37 * 4294967296.0), std::int64_t(1) << 32,
                                   std::int64_t(2.71 * 4294967296.0),
                                   -std::int64_t(1.13 * 4294967296.0)};

std::int64_t startFor(std::int64_t step)
{
    return step > 0 ? std::int64_t(3) << 32 : std::int64_t(250) << 32;
}

} // namespace

TEST(MixRuns, FollowTheInterpolatedSampleWhereverARunIsCut)
{
    const std::vector<std::int16_t> data = bumpyData();
    constexpr int kFrames = 37;
    for (std::int64_t step : kSteps) {
        std::vector<float> whole(2 * kFrames, 0.0f);
        MixRun run{data.data(), startFor(step), step, 0.25f, 0.5f};
        run.mixSteady(whole.data(), kFrames);
        EXPECT_EQ(run.position, startFor(step) + kFrames * step);
        for (int i = 0; i < kFrames; ++i) {
            const double expected = interpolated(data, startFor(step) + i * step);
            EXPECT_NEAR(whole[2 * i], expected * 0.25, 0.01);
            EXPECT_NEAR(whole[2 * i + 1], expected * 0.5, 0.01);
        }
        for (int cut = 1; cut < kFrames; ++cut) {
            std::vector<float> parts(2 * kFrames, 0.0f);
            MixRun first{data.data(), startFor(step), step, 0.25f, 0.5f};
            first.mixSteady(parts.data(), cut);
            MixRun second{data.data(), first.position, step, 0.25f, 0.5f};
            second.mixSteady(parts.data() + 2 * cut, kFrames - cut);
            ASSERT_EQ(parts, whole) << "cut after " << cut << " frames";
        }
    }
}

TEST(MixRuns, RampedGainsChangeEveryFrameAndSilentRunsOnlyMoveOn)
{
    const std::vector<std::int16_t> data = bumpyData();
    for (int frames : {1, 3, 4, 5, 8, 37, 128}) {
        std::vector<float> out(2 * frames, 0.0f);
        MixRun run{data.data(), startFor(kSteps[0]), kSteps[0],  0.5f,
                   0.0f,        -0.5f / 128,         0.25f / 128};
        run.mixRamped(out.data(), frames);
        for (int i = 0; i < frames; ++i) {
            const double value = interpolated(data, startFor(kSteps[0]) + i * kSteps[0]);
            EXPECT_NEAR(out[2 * i], value * (0.5 - 0.5 * i / 128), 0.01);
            EXPECT_NEAR(out[2 * i + 1], value * (0.25 * i / 128), 0.01);
        }
        EXPECT_NEAR(run.left, 0.5 - 0.5 * frames / 128, 1e-6);
        EXPECT_NEAR(run.right, 0.25 * frames / 128, 1e-6);
    }
    std::vector<float> out(2 * 50, 1.0f);
    MixRun silent{data.data(), startFor(kSteps[2]), kSteps[2], 0.0f, 0.0f};
    silent.mixSteady(out.data(), 50);
    EXPECT_EQ(silent.position, startFor(kSteps[2]) + 50 * kSteps[2]);
    EXPECT_EQ(out, std::vector<float>(2 * 50, 1.0f));
}

// A voice that stops moving would never return: a watchdog ends the child.
TEST(MusicVoicesDeathTest, PingPongLoopsOfOneToThreeValuesPlayAtEveryPitch)
{
    EXPECT_EXIT(
        {
            alarm(30);
            std::exit(sweepPingPongLoops());
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            alarm(30);
            std::exit(renderShortPingPong());
        },
        testing::ExitedWithCode(0), "");
}
