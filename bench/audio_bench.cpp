// Music mixing speed in multiples of real time: our player and libxmp on the
// same 16-channel module.
#include "../tests/audio/XmBuilder.h"
#include "audio/MusicRender.h"

#include <benchmark/benchmark.h>
#include <xmp.h>

namespace {

constexpr double kSeconds = 20.0;

// Sixteen channels busy on every row: notes, volume columns and a few effects.
std::vector<std::uint8_t> sixteenChannels()
{
    XmBuilder b(16);
    b.addInstrument(XmBuilder::sineSample(64, 4));
    XmBuilder::Sample saw;
    for (int i = 0; i < 2000; ++i) {
        saw.data.push_back(std::int16_t((i % 200) * 300 - 30000));
    }
    saw.loopStart = 400;
    saw.loopLength = 1600;
    saw.loopType = 2;
    XmBuilder::Instrument& pad = b.addInstrument(saw);
    pad.volume.points = {{0, 20}, {20, 64}, {60, 32}};
    pad.volume.type = 1;
    for (int p = 0; p < 2; ++p) {
        b.addPattern(64);
        for (int row = 0; row < 64; ++row) {
            for (int c = 0; c < 16; ++c) {
                XmBuilder::Cell& cell = b.cell(p, row, c);
                if ((row + c) % 4 == 0) {
                    cell = {std::uint8_t(30 + (row * 7 + c * 5) % 48), std::uint8_t(1 + c % 2),
                            std::uint8_t(0x20 + (c * 3) % 0x30), 0, 0};
                }
                if (c % 5 == 1) {
                    cell.effect = 4;
                    cell.param = 0x46;
                }
            }
        }
    }
    b.orders = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1};
    return b.build();
}

void ourPlayer(benchmark::State& state)
{
    const std::vector<std::uint8_t> module = sixteenChannels();
    for (auto _ : state) {
        MusicRender render = renderModule(module.data(), module.size(), kSeconds);
        benchmark::DoNotOptimize(render.frames.data());
    }
    state.counters["x_realtime"] =
        benchmark::Counter(kSeconds * double(state.iterations()), benchmark::Counter::kIsRate);
}

void libxmp(benchmark::State& state)
{
    std::vector<std::uint8_t> module = sixteenChannels();
    std::vector<std::int16_t> buffer(4096 * 2);
    for (auto _ : state) {
        xmp_context context = xmp_create_context();
        xmp_load_module_from_memory(context, module.data(), long(module.size()));
        xmp_start_player(context, 44100, 0);
        for (double done = 0; done < kSeconds; done += 4096.0 / 44100) {
            xmp_play_buffer(context, buffer.data(), int(buffer.size() * 2), 0);
            benchmark::DoNotOptimize(buffer.data());
        }
        xmp_end_player(context);
        xmp_release_module(context);
        xmp_free_context(context);
    }
    state.counters["x_realtime"] =
        benchmark::Counter(kSeconds * double(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(ourPlayer)->Unit(benchmark::kMillisecond);
BENCHMARK(libxmp)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
