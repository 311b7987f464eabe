// Start-up of the whole program in the built game folder: the pack, the
// shell, the window and context, the intro, the menus and the first drawn
// main-menu frame; then the peak memory after a second of menu frames.
// Run under a display (Xvfb with Mesa in CI machines).
#include "app/Application.h"
#include "app/Log.h"
#include "screens/GameStartup.h"
#include "screens/MainWindow.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace {

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A folder holding links to the built game's files, so the player files the
// run writes (configuration, saved game) never touch the real game folder.
std::filesystem::path enterScratchGameFolder()
{
    namespace fs = std::filesystem;
    const fs::path game = VM_GAME_DIR;
    fs::path scratch = fs::temp_directory_path() / ("vellomar-startup-" + std::to_string(getpid()));
    std::error_code error;
    fs::create_directories(scratch / "data", error);
    for (const char* name : {"mui", "music", "wav", "data/data.pk"})
        if (fs::exists(game / name))
            fs::create_symlink(game / name, scratch / name, error);
    if (error || chdir(scratch.c_str()) != 0)
        scratch.clear();
    return scratch;
}

void startUpToTheFirstMenuFrame(benchmark::State& state)
{
    const std::filesystem::path scratch = enterScratchGameFolder();
    if (scratch.empty()) {
        state.SkipWithError("no game folder");
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        Log::open("game.log");
        GameStartup::openPack();
        if (!GameStartup::openShell()) {
            state.SkipWithError("no display");
            break;
        }
        std::unique_ptr<MainWindow> mainWindow = GameStartup::buildMenus();
        Application::get().runOnce();
        glFinish();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());

        for (int frame = 0; frame < 60; ++frame)
            Application::get().runOnce();
        state.counters["peak_MB"] = peakResidentMegabytes();
        GameStartup::closeMenus(std::move(mainWindow));
        GameStartup::releaseResources();
        Application::destroy();
        Log::close();
    }
    chdir("/");
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
}

} // namespace

BENCHMARK(startUpToTheFirstMenuFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
