// SPDX-License-Identifier: GPL-3.0-or-later
// Board speed: one update on a 15-row board during a busy turn and on the
// largest board, and the path search across the largest board.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "board/Field.h"
#include "effects/FieldFeedback.h"
#include "effects/ParticleSystem.h"

namespace {
LevelFile hexagon(int rows, int width, int fill, int colours)
{
    LevelFile f;
    f.numColours = colours;
    f.fillPercent = fill;
    f.newFlowerPercent = 4;
    f.wildcardPercent = 5;
    f.rows = rows;
    f.width = width;
    f.layout.assign(static_cast<std::size_t>(f.positionCount()), '0');
    return f;
}

std::unique_ptr<Field> readyField(const LevelFile& file, FieldListener& events)
{
    auto field = std::make_unique<Field>(file, 30, true, 12345, events);
    for (int i = 0; i < 5000 && field->state() != FieldState::Idle; ++i)
        field->update(16.0f);
    return field;
}

// A turn in progress: flowers travelling, a blast and a colour bomb running.
void makeBusy(Field& field)
{
    for (int c = 0; c < field.rowLength(0); ++c)
        if (!field.flowerAt(0, c))
            field.placeFlower(0, c, c % field.numColours());
    const int m = field.rows() / 2;
    for (int c = 0; c + 2 < field.rowLength(m); c += 4) {
        field.removeFlower(m, c);
        field.removeFlower(m, c + 1);
        field.removeFlower(m, c + 2);
        field.placeFlower(m, c, 1).makeIdle();
        field.placeFlower(m, c + 1, 1).makeIdle();
        field.placeFlower(m, c + 2, c == 0 ? kBlastFlower : kBombFlower).makeIdle();
    }
}

void BM_UpdateBusyFifteenRows(benchmark::State& state)
{
    ParticleSystem::create().clear();
    // The sparks are part of a busy update's cost; the sounds are not played.
    FieldFeedback feedback(ParticleSystem::get(), {});
    const LevelFile file = hexagon(15, 17, 45, 7);
    std::unique_ptr<Field> field;
    int updates = 0;
    for (auto _ : state) {
        if (updates++ % 200 == 0) {
            state.PauseTiming();
            field = readyField(file, feedback);
            makeBusy(*field);
            ParticleSystem::get().clear();
            state.ResumeTiming();
        }
        field->update(16.0f);
    }
    ParticleSystem::destroy();
}
BENCHMARK(BM_UpdateBusyFifteenRows)->Unit(benchmark::kMicrosecond);

void BM_UpdateLargestBoard(benchmark::State& state)
{
    FieldListener unwatched;
    const std::unique_ptr<Field> field = readyField(hexagon(119, 119, 40, 13), unwatched);
    for (auto _ : state)
        field->update(16.0f);
}
BENCHMARK(BM_UpdateLargestBoard)->Unit(benchmark::kMicrosecond);

void BM_FindPathAcrossLargestBoard(benchmark::State& state)
{
    FieldListener unwatched;
    const std::unique_ptr<Field> field = readyField(hexagon(119, 119, 20, 13), unwatched);
    const int m = field->rows() / 2;
    const int last = field->rowLength(m) - 1;
    field->removeFlower(m, 0);
    field->removeFlower(m, last);
    field->placeFlower(m, 0, 0).makeIdle();
    std::vector<GridPos> path;
    for (auto _ : state)
        benchmark::DoNotOptimize(field->findPath(m, 0, m, last, path));
}
BENCHMARK(BM_FindPathAcrossLargestBoard)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
