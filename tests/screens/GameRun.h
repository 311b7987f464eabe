// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Application.h"
#include "app/Config.h"
#include "board/Field.h"
#include "driver/ScriptedDriver.h"
#include "game/GameWindow.h"
#include "main/GameStartup.h"
#include "screens/MainWindow.h"
#include "ui/Button.h"
#include "ui/Control.h"
#include "ui/KeyboardFocus.h"
#include "utils/KeyValueFile.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

// A folder that looks like the installed game: the real pack, music, sounds
// and pictures linked in, and a data/ folder of its own for the player files.
// The test runs inside it.
class GameFolder : public TempDir {
public:
    GameFolder()
    {
        namespace fs = std::filesystem;
        fs::create_directories("data");
        const fs::path game = VM_GAME_DIR;
        for (const char* pack : {"data.pk", "data2x.pk"})
            if (fs::exists(game / "data" / pack))
                fs::create_symlink(game / "data" / pack, fs::path("data") / pack);
        for (const char* folder : {"music", "wav", "mui", "levels", "doc"})
            if (fs::exists(game / folder))
                fs::create_directory_symlink(game / folder, folder);
    }
};

// One run of the program inside the driver: the menus built as at start-up,
// and taken down as at exit when the run ends.
class GameRun {
public:
    // A window whose client area is width by height pixels.
    explicit GameRun(int width = 800, int height = 600) : m_driver(options(width, height))
    {
        if (!m_driver.available())
            return;
        // The record is process-wide; each run starts from a fresh one, as a new process would.
        Config::get() = Config{};
        // Shown after keys, hidden after the mouse: a new process starts hidden.
        KeyboardFocus::setShown(false);
        m_game = std::make_unique<GameStartup>();
        m_game->openPack();
        m_game->openSound();
        Config::get().load();
        // No first-run hint over the board: the tests play at once.
        Config::get().m_firstRun = false;
        m_game->buildMenus();
        m_driver.runFrames(3);
    }
    ~GameRun() { end(); }

    // The exit path: saved game, high scores and configuration written.
    void end() { m_game.reset(); }

    bool available() const { return m_driver.available(); }
    ScriptedDriver& driver() { return m_driver; }
    MainWindow& main() { return m_game->mainWindow(); }
    MusicPlaylist& music() { return m_game->music(); }
    Application& app() { return Application::get(); }
    Window* front() { return app().frontScreen(); }
    Window* top() { return app().topWindow(); }

    // A click in the middle of a control; dialogs' controls sit at the dialog's origin.
    void click(const Control& control, float originX = 0.0f, float originY = 0.0f)
    {
        m_driver.click(int(originX + control.x() + control.width() / 2),
                       int(originY + control.y() + control.height() / 2));
        m_driver.runFrames(2);
    }
    void press(int key)
    {
        m_driver.press(key);
        m_driver.runFrames(2);
    }
    void shot(const std::string& name)
    {
        const std::string dir = std::string(VM_SCREENSHOT_DIR);
        std::filesystem::create_directories(dir);
        m_driver.saveScreenshot(dir + "/" + name + ".png");
    }

private:
    static DriverOptions options(int width, int height)
    {
        DriverOptions options;
        options.x = 10;
        options.y = 10;
        options.width = width;
        options.height = height;
        return options;
    }
    ScriptedDriver m_driver;
    std::unique_ptr<GameStartup> m_game;
};

#define REQUIRE_GAME(run)                                                                          \
    if (!(run).available())                                                                        \
    GTEST_SKIP() << "no display with OpenGL"

inline KeyValueFile readScrambled(const std::string& path, const char* key, std::size_t length)
{
    KeyValueFile file;
    file.loadFromDisk(path, true, key, length);
    return file;
}

inline KeyValueFile savedGame()
{
    return readScrambled(MainWindow::kSavedGameFile, MainWindow::kSavedGameKey,
                         MainWindow::kSavedGameKeyLength);
}

// Until the intro of the board has run and the player may act.
inline void runIntro(GameRun& run, GameWindow& game)
{
    ASSERT_TRUE(run.driver().runUntil(
        [&] { return game.field() != nullptr && game.field()->state() != FieldState::Intro; }));
}
