// SPDX-License-Identifier: GPL-3.0-or-later
#include "EffectRecipe.h"
#include "SoundFiles.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const char* const kEffects[] = {"glassbreaks", "pop",    "waterdrop2", "bonk",    "bowl",
                                "shot",        "select", "unselect",   "takeoff", "btn_click"};

std::string builtEffect(const std::string& name)
{
    return std::string(VM_GAME_DIR) + "/wav/" + name + ".wav";
}

WaveInfo loadEffect(const std::string& name)
{
    auto wave = readWave(builtEffect(name));
    if (!wave)
        ADD_FAILURE() << name << " is no whole RIFF/WAVE file";
    return wave.value_or(WaveInfo{});
}

double peakOf(const std::vector<int16_t>& s)
{
    int peak = 0;
    for (int16_t v : s)
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    return peak / 32767.0;
}

} // namespace

// Short mono 16-bit PCM at 22050 Hz, about -6 dBFS at the loudest: room for
// the music and another effect.
TEST(SoundEffects, EveryEffectIsShortMonoPcmPeakingNearMinusSixDbfs)
{
    int longOnes = 0;
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        const WaveInfo wave = loadEffect(name);
        const WaveFormat& w = wave.format;
        EXPECT_EQ(w.formatTag, WaveFormat::kPcm);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.samplesPerSecond, 22050u);
        EXPECT_EQ(w.bitsPerSample, 16);
        EXPECT_EQ(w.blockAlign, 2);
        EXPECT_EQ(w.bytesPerSecond, 44100u);
        const std::vector<int16_t>& s = wave.samples;
        const double seconds = s.size() / 22050.0;
        EXPECT_GT(seconds, 0.03);
        EXPECT_LE(seconds, 1.5);
        longOnes += seconds > 0.6 ? 1 : 0;
        ASSERT_GT(s.size(), 100u);
        EXPECT_GE(peakOf(s), 0.44);
        EXPECT_LE(peakOf(s), 0.501);
        EXPECT_LE(std::abs(s.front()), 64);
        EXPECT_LE(std::abs(s.back()), 64);
        // the first and last half millisecond stay quiet: no step that would click
        const std::vector<int16_t> head(s.begin(), s.begin() + 11), tail(s.end() - 11, s.end());
        EXPECT_LT(peakOf(head), 0.17);
        EXPECT_LT(peakOf(tail), 0.03);
    }
    EXPECT_LE(longOnes, 3);
}

TEST(SoundEffects, AnyTwoEffectsStartedTogetherStayWithinFullScale)
{
    std::vector<std::vector<int16_t>> sounds;
    for (const char* name : kEffects)
        sounds.push_back(loadEffect(name).samples);
    for (size_t first = 0; first < sounds.size(); ++first)
        for (size_t second = first; second < sounds.size(); ++second) {
            const auto& a = sounds[first];
            const auto& b = sounds[second];
            int peak = 0;
            for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
                const int sum = (i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0);
                peak = std::max(peak, std::abs(sum));
            }
            EXPECT_LE(peak, 32768) << kEffects[first] << " with " << kEffects[second];
        }
}

TEST(SoundEffects, GenerationIsDeterministic)
{
    TempDir dir;
    const std::string command = std::string(VM_TOOLS_DIR) + "/soundgen effect " + VM_SOURCE_DIR +
                                "/assets/sound/pop.snd pop.wav";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readBytes("pop.wav"), readBytes(builtEffect("pop")));
}

TEST(SoundRecipes, FaultsNameTheFileAndLine)
{
    using soundgen::EffectRecipe;
    using soundgen::SourceText;
    auto messageOf = [](const std::string& text) {
        try {
            EffectRecipe::parse(SourceText::fromString("x.snd", text));
        } catch (const soundgen::SourceError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf("length 0.2\nlayer tone wave=sine fq=3\n"),
              "x.snd:2: unknown setting \"fq\"");
    EXPECT_EQ(messageOf("layer tone wave=buzz\n"),
              "x.snd:1: unknown wave \"buzz\" (sine, triangle, square, saw)");
    EXPECT_EQ(messageOf("length -1\nlayer noise\n"),
              "x.snd:1: unknown or out-of-range setting \"length\"");
    EXPECT_EQ(messageOf("layer tone freq=abc\n"),
              "x.snd:1: \"freq\" needs a number, found \"abc\"");
    EXPECT_EQ(messageOf("length 0.2\n"), "a sound needs at least one layer");
}

TEST(SoundRecipes, RenderedEffectHasTheRecipeLengthAndPeak)
{
    const auto recipe = soundgen::EffectRecipe::parse(
        soundgen::SourceText::fromString("t.snd", "length 0.5\npeak 0.5\nlayer noise decay=0.1\n"));
    const auto samples = soundgen::renderEffect(recipe, 22050);
    ASSERT_EQ(samples.size(), 11025u);
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    EXPECT_NEAR(peak, 0.5, 1e-6);
    EXPECT_EQ(samples.front(), 0.0f);
    EXPECT_EQ(samples.back(), 0.0f);
}
