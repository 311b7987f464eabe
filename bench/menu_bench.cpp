// SPDX-License-Identifier: GPL-3.0-or-later
// Frames of the menus, and of the play screen while the player thinks, as the
// player sees them: the whole program started in
// a scratch copy of the game folder with no settings, so it opens full screen
// on the display (run under Xvfb -screen 0 1280x1024x24 for the figures in
// bench/README.md). Frames run back to back (no frame-rate sleep) but the
// frame clock steps a sixtieth of a second each, so the dragons move as far
// per frame as at 60 frames per second; each frame ends with the buffer swap
// (or the changed regions shown) and glFinish. Reports frames per second, CPU
// milliseconds per frame over the whole process (renderer threads included),
// the share of one core that makes at 60 frames per second, and how many of
// the frames were drawn whole and how many drew nothing (nothing changed).
#include "BenchClock.h"
#include "BenchGame.h"
#include "app/Application.h"
#include "app/Config.h"
#include "board/Field.h"
#include "game/GameWindow.h"
#include "main/GameStartup.h"
#include "objects/BackgroundCache.h"
#include "screens/MainWindow.h"
#include "ui/Button.h"
#include "utils/Log.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// One whole frame; its own function so that an instruction count can leave
// out the start-up (callgrind --toggle-collect='*timedFrame*').
[[gnu::noinline]] void timedFrame(Application& application, SixtyPerSecondClock& clock,
                                  FrameTimer& timer, bool whole)
{
    clock.nextFrame();
    // Another window on a shared display may take the focus; the menus of
    // an inactive program stand still.
    application.setActive(true);
    if (whole)
        application.redrawWhole();
    timer.start();
    const std::uint64_t frames = application.frameCount();
    while (application.frameCount() == frames && application.runOnce()) {
    }
    glFinish();
    timer.stop();
}

// The main menu's button that opens the screen measured; none for the main menu.
constexpr const char* kScreenButtons[] = {nullptr, "m_game_btn", "m_options_btn", "m_top_btn",
                                          "m_help_btn"};

enum class Drawing { Changes, Whole };

// Frames of whatever the program shows, after 30 to settle.
void measureFrames(benchmark::State& state, BenchGame& game, Drawing drawing)
{
    Application& application = game.application();
    SixtyPerSecondClock& clock = game.clock();
    for (int frame = 0; frame < 30; ++frame)
        game.runFrame();
    glFinish();
    FrameTimer timer;
    const Application::DrawCounts before = application.drawCounts();
    for (auto _ : state)
        timedFrame(application, clock, timer, drawing == Drawing::Whole);
    state.counters["fps"] = timer.fps();
    state.counters["cpu_ms_per_frame"] = timer.cpuMillisecondsPerFrame();
    state.counters["core_pct_at_60fps"] = timer.corePercentAt60();
    state.counters["whole_frames"] = double(application.drawCounts().whole - before.whole);
    state.counters["unchanged_frames"] =
        double(application.drawCounts().unchanged - before.unchanged);
    state.counters["width"] = application.clientWidth();
    state.counters["height"] = application.clientHeight();
}

void runMenuFrames(benchmark::State& state, bool dragons, const char* screenButton,
                   Drawing drawing = Drawing::Changes)
{
    BenchGame game(state, [dragons](Config& config) { config.m_showDragons = dragons; });
    if (!game.ready())
        return;
    if (screenButton != nullptr)
        game.mainWindow().onControl(game.mainWindow().button(screenButton));
    measureFrames(state, game, drawing);
}

void mainMenuFrame(benchmark::State& state)
{
    runMenuFrames(state, state.range(0) != 0, nullptr);
}

// For comparison: every frame drawn whole, as without a back buffer to build on.
void mainMenuWholeFrame(benchmark::State& state)
{
    runMenuFrames(state, true, nullptr, Drawing::Whole);
}

void menuScreenFrame(benchmark::State& state)
{
    runMenuFrames(state, true, kScreenButtons[state.range(0)]);
}

// The play screen full screen with the fine pictures (data/data2x.pk) while
// the player thinks: the first level's board after its intro, no hint open,
// nothing moving but the board's own idle animations.
void idlePlayScreenFrame(benchmark::State& state)
{
    const auto settings = [](Config& config) {
        config.m_firstRun = false;
        config.m_hints = false;
    };
    BenchGame game(state, settings, true);
    if (!game.ready())
        return;
    if (!game.openPlayScreen()) {
        state.SkipWithError("the play screen did not open");
        return;
    }
    const Field* field = game.mainWindow().game()->field();
    for (int frame = 0; frame < 600 && field->state() != FieldState::Idle; ++frame)
        game.runFrame();
    measureFrames(state, game, Drawing::Changes);
}

} // namespace

// Argument: the menu dragons shown (1, as configured by default) or not (0).
BENCHMARK(mainMenuFrame)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(300);
BENCHMARK(mainMenuWholeFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(300);
// Argument: the screen, with its dragons: 1 level choice, 2 options, 3 high
// scores, 4 help.
BENCHMARK(menuScreenFrame)
    ->DenseRange(1, 4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(300);

BENCHMARK(idlePlayScreenFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(600);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
