#pragma once

#include "DesktopClient.h"
#include "ScratchGameFolder.h"
#include "SixtyPerSecondClock.h"
#include "app/Application.h"
#include "app/Config.h"
#include "main/GameStartup.h"
#include "screens/MainWindow.h"
#include "utils/Log.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <optional>

// The whole program up to its main menu in a scratch game folder, its frames
// run back to back with the clock stepping a sixtieth of a second, and taken
// down in the program's own order. Without a game folder or a display the
// benchmark is skipped and ready() is false.
class BenchGame {
public:
    // prepare changes the settings before the menus are built.
    BenchGame(benchmark::State& state, const std::function<void(Config&)>& prepare)
    {
        if (!m_folder.entered()) {
            state.SkipWithError("no game folder");
            return;
        }
        // Held for the whole run, so the X server does not reset between cases.
        static const DesktopClient desktop;
        Log::open("game.log");
        m_game.emplace();
        m_game->openPack();
        if (!m_game->openShell()) {
            state.SkipWithError("no display");
            return;
        }
        prepare(Config::get());
        m_mainWindow = &m_game->buildMenus();
        Application& application = Application::get();
        application.setTargetFrameRate(0);
        application.setFrameClock(&m_clock);
    }
    ~BenchGame()
    {
        if (m_mainWindow == nullptr)
            return;
        Application::get().setFrameClock(nullptr);
        m_game.reset();
        Log::close();
    }
    BenchGame(const BenchGame&) = delete;
    BenchGame& operator=(const BenchGame&) = delete;

    bool ready() const { return m_mainWindow != nullptr; }
    MainWindow& mainWindow() { return *m_mainWindow; }
    Application& application() { return Application::get(); }
    SixtyPerSecondClock& clock() { return m_clock; }

private:
    ScratchGameFolder m_folder;
    SixtyPerSecondClock m_clock;
    std::optional<GameStartup> m_game;
    MainWindow* m_mainWindow = nullptr;
};
