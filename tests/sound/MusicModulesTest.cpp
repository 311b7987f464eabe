// SPDX-License-Identifier: GPL-3.0-or-later
#include "MusicCompiler.h"
#include "SoundFiles.h"
#include "audio/XmLoader.h"
#include "support/ToolRun.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>
#include <xmp.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <set>

namespace {

const char* const kTunes[] = {"menu", "game01", "game02", "game03", "game04"};

std::string builtModule(const std::string& tune)
{
    return std::string(VM_GAME_DIR) + "/music/" + tune + ".xm";
}

// The module as the game loads it.
std::unique_ptr<MusicModule> loadModule(const std::string& tune)
{
    const std::vector<uint8_t> bytes = readBytes(builtModule(tune));
    auto module = loadXmModule(bytes.data(), bytes.size(), 64);
    if (!module)
        ADD_FAILURE() << tune << " does not load";
    return module;
}

// Effect kinds as the player tells them apart: extended effects by sub-command, key-off notes too.
std::set<unsigned> effectKinds(const MusicModule& xm)
{
    std::set<unsigned> kinds;
    for (const auto& p : xm.patterns)
        for (const auto& c : p.cells) {
            if (c.effect || c.param)
                kinds.insert(c.effect == 14 ? 0x100 | (c.param >> 4) : c.effect);
            if (c.note == 255)
                kinds.insert(0x200);
        }
    return kinds;
}

struct XmpPlayback {
    int error = 0;
    double reportedSeconds = 0;
    std::vector<int16_t> frames; // 44100 Hz interleaved stereo, linear interpolation
};

// Plays the module once through libxmp.
XmpPlayback playWithLibxmp(const std::string& path)
{
    XmpPlayback result;
    std::unique_ptr<char, void (*)(xmp_context)> context(xmp_create_context(), xmp_free_context);
    if ((result.error = xmp_load_module(context.get(), const_cast<char*>(path.c_str()))) != 0)
        return result;
    xmp_start_player(context.get(), 44100, 0);
    xmp_set_player(context.get(), XMP_PLAYER_INTERP, XMP_INTERP_LINEAR);
    xmp_frame_info info;
    xmp_get_frame_info(context.get(), &info);
    result.reportedSeconds = info.total_time / 1000.0;
    while ((result.error = xmp_play_frame(context.get())) == 0) {
        xmp_get_frame_info(context.get(), &info);
        if (info.loop_count > 0)
            break;
        const auto* s = static_cast<const int16_t*>(info.buffer);
        result.frames.insert(result.frames.end(), s, s + info.buffer_size / 2);
    }
    if (result.error == -XMP_END)
        result.error = 0;
    xmp_end_player(context.get());
    xmp_release_module(context.get());
    return result;
}

// The duration openmpt123 reports, -1 when it fails or complains.
double openmptSeconds(const std::string& path)
{
    const std::string command = "openmpt123 --info \"" + path + "\" 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return -1;
    double seconds = -1;
    char line[512];
    while (std::fgets(line, sizeof line, pipe.get())) {
        int minutes = 0;
        double rest = 0;
        if (std::sscanf(line, "Duration...: %d:%lf", &minutes, &rest) == 2)
            seconds = minutes * 60 + rest;
        if (std::string(line).find("rror") != std::string::npos)
            return -1;
    }
    return seconds;
}

struct GameRender {
    int status = -1;
    std::string output;
    WaveInfo wave;
};

// Renders the module through the game's own music player (tools/xmrender).
GameRender renderWithXmrender(const std::string& tune)
{
    TempDir dir;
    const ToolRun run =
        runTool(std::string(VM_TOOLS_DIR) + "/xmrender \"" + builtModule(tune) + "\" out.wav");
    return {run.status, run.output, readWave("out.wav").value_or(WaveInfo{})};
}

// The sharpest bend (second difference, either side) in each 2 ms window.
std::vector<int> sharpestBends(const std::vector<int16_t>& s, size_t frames)
{
    constexpr size_t kWindow = 88;
    std::vector<int> out(frames / kWindow, 0);
    for (size_t i = 1; i + 1 < frames && i / kWindow < out.size(); ++i)
        for (size_t c = 0; c < 2; ++c) {
            const int bend = std::abs(s[2 * (i + 1) + c] - 2 * s[2 * i + c] + s[2 * (i - 1) + c]);
            out[i / kWindow] = std::max(out[i / kWindow], bend);
        }
    return out;
}

// Windows where our output bends more than four times as sharply as the reference's: clicks.
int clickWindows(const std::vector<int16_t>& ours, const std::vector<int16_t>& reference)
{
    const size_t frames = std::min(ours.size(), reference.size()) / 2;
    const std::vector<int> a = sharpestBends(ours, frames);
    const std::vector<int> b = sharpestBends(reference, frames);
    int clicks = 0;
    for (size_t w = 0; w < a.size(); ++w)
        clicks += a[w] > 200 && a[w] > 4 * b[w];
    return clicks;
}

int peakOf(const std::vector<int16_t>& s)
{
    int peak = 0;
    for (int16_t v : s)
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    return peak;
}

double rmsOf(const std::vector<int16_t>& s, size_t from)
{
    double sum = 0;
    for (size_t i = from; i < s.size(); ++i)
        sum += (s[i] / 32768.0) * (s[i] / 32768.0);
    return s.size() > from ? std::sqrt(sum / (s.size() - from)) : 0;
}

} // namespace

// Small modules of 6 to 32 channels whose instruments have volume envelopes
// (some panning ones too), seamless sample loops and drums that end in silence.
TEST(MusicModules, EveryTuneIsASmallXmOfWellMadeInstruments)
{
    for (const char* tune : kTunes) {
        SCOPED_TRACE(tune);
        const auto xm = loadModule(tune);
        ASSERT_TRUE(xm);
        EXPECT_GE(xm->channels, 6);
        EXPECT_LE(xm->channels, 32);
        EXPECT_EQ(xm->table, FrequencyTable::Linear);
        EXPECT_LT(readBytes(builtModule(tune)).size(), 200u * 1024);
        ASSERT_GT(xm->songLength, 0);
        for (int i = 0; i < xm->songLength; ++i)
            EXPECT_LT(xm->orders[i], xm->storedPatterns);
        EXPECT_LT(xm->restartPosition, xm->songLength);
        EXPECT_GE(effectKinds(*xm).size(), 8u) << "too few player effects";
        ASSERT_GE(xm->instruments.size(), 4u);
        bool panning = false;
        for (const auto& in : xm->instruments) {
            ASSERT_EQ(in.samples.size(), 1u);
            EXPECT_TRUE(in.volumeEnvelope.on);
            EXPECT_GE(in.volumeEnvelope.points, 2);
            panning = panning || in.panningEnvelope.on;
            const XmSample& s = in.samples[0];
            if (s.loop == LoopType::None) {
                EXPECT_LT(std::abs(s.data[s.length - 1]), 300);
                continue;
            }
            const int start = s.loopStart, end = s.loopEnd();
            int largestStep = 0;
            for (int i = start + 1; i < end; ++i)
                largestStep = std::max(largestStep, std::abs(s.data[i] - s.data[i - 1]));
            EXPECT_LE(std::abs(s.data[start] - s.data[end - 1]), largestStep + 16);
        }
        EXPECT_TRUE(panning);
    }
}

TEST(MusicModules, TunesPlayOverNinetySecondsAndEndInSilenceInLibxmpAndOpenmpt)
{
    for (const char* tune : kTunes) {
        SCOPED_TRACE(tune);
        const XmpPlayback played = playWithLibxmp(builtModule(tune));
        EXPECT_EQ(played.error, 0);
        EXPECT_GE(played.reportedSeconds, 90.0);
        EXPECT_LE(played.reportedSeconds, 240.0);
        EXPECT_NEAR(played.frames.size() / 2 / 44100.0, played.reportedSeconds, 0.5);
        EXPECT_NEAR(openmptSeconds(builtModule(tune)), played.reportedSeconds, 0.5);
        EXPECT_GT(peakOf(played.frames), 3276);
        EXPECT_LT(peakOf(played.frames), 32768);
        // the player drops the last second mixed when a song ends: nothing may sound there
        EXPECT_LT(rmsOf(played.frames,
                        played.frames.size() - std::min<size_t>(played.frames.size(), 2 * 44100)),
                  0.01);
    }
}

TEST(MusicModules, CompilingAScoreIsDeterministic)
{
    const std::string score = std::string(VM_SOURCE_DIR) + "/assets/music/menu.txt";
    const auto bytes =
        soundgen::writeXm(soundgen::compileScore(soundgen::SourceText::fromFile(score)));
    EXPECT_EQ(bytes, readBytes(builtModule("menu")));
}

TEST(MusicModules, TheGamesPlayerPlaysEveryTuneToItsEndWithoutClippingOrClicks)
{
    for (const char* tune : kTunes) {
        SCOPED_TRACE(tune);
        const GameRender r = renderWithXmrender(tune);
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_EQ(r.output.find("did not end"), std::string::npos) << r.output;
        ASSERT_EQ(r.wave.format.channels, 2);
        ASSERT_EQ(r.wave.format.samplesPerSecond, 44100u);
        const XmpPlayback reference = playWithLibxmp(builtModule(tune));
        EXPECT_NEAR(r.wave.samples.size() / 2 / 44100.0, reference.reportedSeconds, 1.0);
        EXPECT_GT(peakOf(r.wave.samples), 3000);
        EXPECT_LT(peakOf(r.wave.samples), 32000); // headroom: the mix never clips
        EXPECT_GT(rmsOf(r.wave.samples, 0), 0.02);
        EXPECT_LT(rmsOf(r.wave.samples, r.wave.samples.size() - 2 * 44100), 0.01);
        EXPECT_EQ(clickWindows(r.wave.samples, reference.frames), 0);
    }
}
