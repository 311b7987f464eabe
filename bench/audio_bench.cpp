// SPDX-License-Identifier: GPL-3.0-or-later
// Music mixing speed: our player against libxmp with linear interpolation, both
// rendering the same dense 24-channel module at 44100 Hz in the same run. Each
// iteration times both in thread CPU time; the counters keep the fastest time of
// each (the machine is shared) and their ratio, which should stay at or below 0.67.
#include "MusicCompiler.h"
#include "XmModule.h"
#include "audio/MusicPlayer.h"
#include "platform/OfflineWaveOutput.h"

#include <benchmark/benchmark.h>
#include <xmp.h>

#include <algorithm>
#include <ctime>
#include <limits>

namespace {

std::vector<std::uint8_t> denseModule()
{
    const std::string score = std::string(VM_SOURCE_DIR) + "/bench/dense_score.txt";
    return soundgen::writeXm(soundgen::compileScore(soundgen::SourceText::fromFile(score)));
}

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Plays the whole song once into the player's ring, as the game does; returns the
// frames heard. Like libxmp's frame buffer, the ring is mixed into and not kept.
std::size_t renderWithOurPlayer(const std::vector<std::uint8_t>& bytes)
{
    MusicPlayer player;
    auto output = std::make_unique<OfflineWaveOutput>();
    OfflineWaveOutput* ring = output.get();
    player.openDevice(std::move(output));
    std::unique_ptr<MusicModule> module = player.loadFromMemory(bytes.data(), bytes.size());
    if (module == nullptr || !player.play(*module)) {
        return 0;
    }
    std::size_t frames = 0;
    while (player.isPlaying()) {
        ring->advance(std::size_t(MusicPlayer::kBlockFrames) * 4);
        frames += MusicPlayer::kBlockFrames;
        player.pump();
        benchmark::DoNotOptimize(ring->ring().data());
    }
    player.free(std::move(module));
    return frames;
}

std::size_t renderWithLibxmp(std::vector<std::uint8_t>& module)
{
    xmp_context context = xmp_create_context();
    std::size_t frames = 0;
    if (xmp_load_module_from_memory(context, module.data(), long(module.size())) == 0) {
        xmp_start_player(context, 44100, 0);
        xmp_set_player(context, XMP_PLAYER_INTERP, XMP_INTERP_LINEAR);
        xmp_frame_info info{};
        while (xmp_play_frame(context) == 0) {
            xmp_get_frame_info(context, &info);
            if (info.loop_count > 0) {
                break;
            }
            benchmark::DoNotOptimize(info.buffer);
            frames += std::size_t(info.buffer_size) / 4;
        }
        xmp_end_player(context);
        xmp_release_module(context);
    }
    xmp_free_context(context);
    return frames;
}

void musicAgainstLibxmp(benchmark::State& state)
{
    std::vector<std::uint8_t> module = denseModule();
    double ours = std::numeric_limits<double>::max();
    double theirs = ours;
    std::size_t ourFrames = 0;
    std::size_t theirFrames = 0;
    for (auto _ : state) {
        double start = threadSeconds();
        ourFrames = renderWithOurPlayer(module);
        ours = std::min(ours, threadSeconds() - start);
        start = threadSeconds();
        theirFrames = renderWithLibxmp(module);
        theirs = std::min(theirs, threadSeconds() - start);
    }
    state.counters["song_s"] = double(ourFrames) / 44100;
    state.counters["libxmp_song_s"] = double(theirFrames) / 44100;
    state.counters["ours_ms"] = ours * 1000;
    state.counters["libxmp_ms"] = theirs * 1000;
    state.counters["ratio"] = ours / theirs;
}

} // namespace

BENCHMARK(musicAgainstLibxmp)->Unit(benchmark::kMillisecond)->Iterations(7);
BENCHMARK_MAIN();
