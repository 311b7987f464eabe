// SPDX-License-Identifier: GPL-3.0-or-later
// Long stays on every screen: the whole program started as in menu_bench
// (scratch game folder, no settings, so full screen with the menu dragons),
// then one screen left running for SOAK_MINUTES minutes of play (default
// half a minute; a fraction is fine) while the resident memory of the
// process is sampled every ten seconds of play. Frames run back to back with
// the frame clock stepping a sixtieth of a second each, so a minute of play
// is 3600 frames, drawn as the game draws them at 60 frames per second.
//
// Reports MB_per_minute, the growth of the resident memory per minute of
// play (least-squares slope over the samples after the first ten seconds,
// which load the screen's pictures), the first and last samples, and the
// wall time the stay took.
#include "BenchClock.h"
#include "BenchGame.h"
#include "app/Application.h"
#include "app/Config.h"
#include "game/GameWindow.h"
#include "main/GameStartup.h"
#include "screens/LevelChoiceScreen.h"
#include "screens/MainWindow.h"
#include "ui/Button.h"
#include "utils/Log.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kFramesPerMinute = 60 * 60;
constexpr int kFramesPerSample = 10 * 60;

double minutesOfPlay()
{
    const char* text = std::getenv("SOAK_MINUTES");
    const double minutes = text != nullptr ? std::atof(text) : 0.5;
    return minutes > 0.0 ? minutes : 0.5;
}

double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0.0;
}

// Megabytes per sample step of the best straight line through the samples.
double slope(const std::vector<double>& samples)
{
    const double n = double(samples.size());
    double sumX = 0.0, sumY = 0.0, sumXY = 0.0, sumXX = 0.0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double x = double(i);
        sumX += x;
        sumY += samples[i];
        sumXY += x * samples[i];
        sumXX += x * x;
    }
    const double denominator = n * sumXX - sumX * sumX;
    return denominator > 0.0 ? (n * sumXY - sumX * sumY) / denominator : 0.0;
}

enum class Screen { MainMenu, LevelChoice, Options, HighScores, Help, Play };

constexpr const char* kScreenNames[] = {"main menu",   "level choice", "options",
                                        "high scores", "help",         "play"};

// The main menu's button that opens each menu screen; none for the main menu.
const char* buttonFor(Screen screen)
{
    switch (screen) {
    case Screen::LevelChoice:
        return "m_game_btn";
    case Screen::Options:
        return "m_options_btn";
    case Screen::HighScores:
        return "m_top_btn";
    case Screen::Help:
        return "m_help_btn";
    default:
        return nullptr;
    }
}

bool openScreen(Screen screen, BenchGame& game)
{
    if (screen == Screen::Play)
        return game.openPlayScreen();
    if (const char* button = buttonFor(screen))
        game.mainWindow().onControl(game.mainWindow().button(button));
    return true;
}

void stay(benchmark::State& state, BenchGame& game)
{
    const auto frames = long(minutesOfPlay() * kFramesPerMinute);
    std::vector<double> samples;
    const double wallStart = BenchClock::wallSeconds();
    for (long frame = 0; frame < frames; ++frame) {
        game.runFrame();
        if ((frame + 1) % kFramesPerSample == 0)
            samples.push_back(residentMegabytes());
    }
    const double wall = BenchClock::wallSeconds() - wallStart;
    // The first ten seconds load the screen's pictures.
    if (samples.size() > 2)
        samples.erase(samples.begin());
    const double samplesPerMinute = double(kFramesPerMinute) / kFramesPerSample;
    state.counters["MB_per_minute"] = slope(samples) * samplesPerMinute;
    state.counters["first_MB"] = samples.empty() ? 0.0 : samples.front();
    state.counters["last_MB"] = samples.empty() ? 0.0 : samples.back();
    state.counters["minutes_of_play"] = double(frames) / kFramesPerMinute;
    state.counters["wall_s"] = wall;
}

void screenSoak(benchmark::State& state)
{
    const auto screen = Screen(state.range(0));
    state.SetLabel(kScreenNames[state.range(0)]);
    // The play screen stays on its board, not on the first game's hint.
    BenchGame game(state, [](Config& config) { config.m_firstRun = false; });
    if (!game.ready())
        return;
    if (!openScreen(screen, game))
        state.SkipWithError("the screen did not open");
    for (auto _ : state)
        stay(state, game);
}

} // namespace

// Argument: the screen: 0 main menu, 1 level choice, 2 options, 3 high
// scores, 4 help, 5 play.
BENCHMARK(screenSoak)->DenseRange(0, 5)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
