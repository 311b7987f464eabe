// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to the first drawn main-menu frame, run under a display (Xvfb with
// Mesa in CI machines), in a scratch copy of the built game folder with no
// settings (so the game opens full screen, as it does the first time).
//
// startProgramToTheFirstMenuFrame: the real program, from exec until its
// "--first-frame-time" line arrives (the frame is finished by then); also the
// time the game itself reports from main, and the CPU time of the whole run.
// startUpToTheFirstMenuFrame: the same steps inside this process, then the
// peak memory after a second of menu frames.
// The ...FinePictures variants add data/data2x.pk: full screen on a display
// of 1280 × 1024 (1.6 pixels a unit) then draws the pictures at twice the size.
#include "DesktopClient.h"
#include "ScratchGameFolder.h"
#include "app/Application.h"
#include "main/GameStartup.h"
#include "platform/PlatformWindow.h"
#include "screens/MainWindow.h"
#include "utils/Log.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double milliseconds(const timeval& time)
{
    return double(time.tv_sec) * 1000.0 + double(time.tv_usec) / 1000.0;
}

struct ProgramRun {
    bool reported = false;
    double reportedMilliseconds = 0.0;
    double cpuMilliseconds = 0.0;
    double peakMegabytes = 0.0;
};

// Starts the game and returns once its first-frame line has arrived; the
// run's CPU time is known once it has quit. An empty language is English.
ProgramRun runProgram(benchmark::State& state, const std::string& language)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        setenv("LANG", language.empty() ? "C" : (language + ".UTF-8").c_str(), 1);
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        unsetenv("LANGUAGE");
        execl("./vellomar", "vellomar", "--first-frame-time", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    ProgramRun run;
    run.reported = std::sscanf(line.c_str(), "first main-menu frame after %lf ms",
                               &run.reportedMilliseconds) == 1;
    while (read(out[0], &c, 1) == 1) {
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.cpuMilliseconds = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
    run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

void startProgram(benchmark::State& state, bool finePictures, const std::string& language = {})
{
    ScratchGameFolder folder(finePictures);
    std::error_code error;
    std::filesystem::copy_file(VM_GAME_DIR "/vellomar", folder.path() / "vellomar", error);
    if (!folder.entered() || error) {
        state.SkipWithError("no game folder");
        return;
    }
    const DesktopClient client;
    double reported = 0.0;
    double cpu = 0.0;
    double peak = 0.0;
    for (auto _ : state) {
        const ProgramRun run = runProgram(state, language);
        if (!run.reported) {
            state.SkipWithError("the game reported no first frame (no display?)");
            return;
        }
        reported += run.reportedMilliseconds;
        cpu += run.cpuMilliseconds;
        peak = std::max(peak, run.peakMegabytes);
    }
    const double runs = double(state.iterations());
    state.counters["from_main_ms"] = reported / runs;
    state.counters["run_cpu_ms"] = cpu / runs;
    state.counters["peak_MB"] = peak;
}

void startUp(benchmark::State& state, bool finePictures)
{
    ScratchGameFolder folder(finePictures);
    if (!folder.entered()) {
        state.SkipWithError("no game folder");
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        Log::open("game.log");
        std::optional<GameStartup> game(std::in_place);
        game->openPack();
        if (!game->openShell()) {
            state.SkipWithError("no display");
            break;
        }
        game->buildMenus();
        Application::get().runOnce();
        glFinish();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());

        for (int frame = 0; frame < 60; ++frame)
            Application::get().runOnce();
        state.counters["peak_MB"] = peakResidentMegabytes();
        game.reset();
        Log::close();
    }
}

void startProgramToTheFirstMenuFrame(benchmark::State& state)
{
    startProgram(state, false);
}

void startProgramToTheFirstMenuFrameFinePictures(benchmark::State& state)
{
    startProgram(state, true);
}

// The same in the longest and the most accented language, beside English.
void startProgramInALanguage(benchmark::State& state, const char* locale)
{
    startProgram(state, true, locale);
}

void startUpToTheFirstMenuFrame(benchmark::State& state)
{
    startUp(state, false);
}

void startUpToTheFirstMenuFrameFinePictures(benchmark::State& state)
{
    startUp(state, true);
}

} // namespace

BENCHMARK(startProgramToTheFirstMenuFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(startUpToTheFirstMenuFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(startProgramToTheFirstMenuFrameFinePictures)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(startProgramInALanguage, German, "de_DE")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(startProgramInALanguage, Polish, "pl_PL")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(startUpToTheFirstMenuFrameFinePictures)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

BENCHMARK_MAIN();
