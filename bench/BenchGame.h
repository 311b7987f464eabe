// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DesktopClient.h"
#include "ScratchGameFolder.h"
#include "SixtyPerSecondClock.h"
#include "app/Application.h"
#include "app/Config.h"
#include "game/GameWindow.h"
#include "main/GameStartup.h"
#include "screens/LevelChoiceScreen.h"
#include "screens/MainWindow.h"
#include "ui/Button.h"
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
    // prepare changes the settings before the menus are built; with
    // finePictures the game folder holds data/data2x.pk too.
    BenchGame(benchmark::State& state, const std::function<void(Config&)>& prepare,
              bool finePictures = false)
        : m_folder(finePictures)
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

    // One frame of the program, the clock a sixtieth of a second on.
    void runFrame()
    {
        m_clock.nextFrame();
        // Another window on a shared display may take the focus; the screens
        // of an inactive program stand still.
        Application& application = Application::get();
        application.setActive(true);
        const std::uint64_t frames = application.frameCount();
        while (application.frameCount() == frames && application.runOnce()) {
        }
    }

    // From the main menu through the level choice (after its fade) to the
    // play screen; false when it does not open within ten seconds of play.
    bool openPlayScreen()
    {
        m_mainWindow->onControl(m_mainWindow->button("m_game_btn"));
        LevelChoiceScreen* levelChoice = m_mainWindow->levelChoice();
        if (levelChoice == nullptr)
            return false;
        levelChoice->onControl(levelChoice->okButton());
        for (int frame = 0; frame < 600; ++frame) {
            if (m_mainWindow->game() != nullptr &&
                Application::get().frontScreen() == m_mainWindow->game())
                return true;
            runFrame();
        }
        return false;
    }

private:
    ScratchGameFolder m_folder;
    SixtyPerSecondClock m_clock;
    std::optional<GameStartup> m_game;
    MainWindow* m_mainWindow = nullptr;
};
