// Frames of the main menu as the player sees it: the whole program started in
// a scratch copy of the game folder with no settings, so it opens full screen
// on the display (run under Xvfb -screen 0 1280x1024x24 for the figures in
// bench/README.md). Frames run back to back (no frame-rate sleep); each ends
// with the buffer swap and glFinish. Reports frames per second, CPU
// milliseconds per frame over the whole process (renderer threads included)
// and the share of one core that makes at 60 frames per second.
#include "BenchClock.h"
#include "ScratchGameFolder.h"
#include "app/Application.h"
#include "app/Config.h"
#include "app/Log.h"
#include "objects/BackgroundCache.h"
#include "screens/GameStartup.h"
#include "screens/MainWindow.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// One whole frame; its own function so that an instruction count can leave
// out the start-up (callgrind --toggle-collect='*timedFrame*').
[[gnu::noinline]] void timedFrame(Application& application, FrameTimer& timer)
{
    timer.start();
    const std::uint64_t frames = application.frameCount();
    while (application.frameCount() == frames && application.runOnce()) {
    }
    glFinish();
    timer.stop();
}

void mainMenuFrame(benchmark::State& state)
{
    ScratchGameFolder folder;
    if (!folder.entered()) {
        state.SkipWithError("no game folder");
        return;
    }
    Log::open("game.log");
    GameStartup::openPack();
    if (!GameStartup::openShell()) {
        state.SkipWithError("no display");
        return;
    }
    Config::get().m_showDragons = state.range(0) != 0;
    std::unique_ptr<MainWindow> mainWindow = GameStartup::buildMenus();
    Application& application = Application::get();
    application.setTargetFrameRate(0);
    for (int frame = 0; frame < 30; ++frame)
        application.runOnce();
    glFinish();
    FrameTimer timer;
    for (auto _ : state)
        timedFrame(application, timer);
    state.counters["fps"] = timer.fps();
    state.counters["cpu_ms_per_frame"] = timer.cpuMillisecondsPerFrame();
    state.counters["core_pct_at_60fps"] = timer.corePercentAt60();
    state.counters["background_copies"] = double(BackgroundCache::copiesDrawn());
    state.counters["width"] = application.clientWidth();
    state.counters["height"] = application.clientHeight();
    GameStartup::closeMenus(std::move(mainWindow));
    GameStartup::releaseResources();
    Application::destroy();
    Log::close();
}

} // namespace

// Argument: the menu dragons shown (1, as configured by default) or not (0).
BENCHMARK(mainMenuFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(300);

BENCHMARK_MAIN();
