// Music mixing speed: our player against libxmp with linear interpolation, both
// rendering the same dense 24-channel module at 44100 Hz in the same run. Each
// iteration times both in thread CPU time; the counters keep the fastest time of
// each (the machine is shared) and their ratio, which should stay at or below 0.67.
#include "MusicCompiler.h"
#include "XmModule.h"
#include "audio/MusicRender.h"

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

// Renders the whole song once; returns the frames rendered.
std::size_t renderWithOurPlayer(const std::vector<std::uint8_t>& module)
{
    const MusicRender render = renderModule(module.data(), module.size(), 0);
    benchmark::DoNotOptimize(render.frames.data());
    return render.frames.size() / 2;
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
