// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/LogicalScreen.h"
#include "main/GameLog.h"
#include "main/GameMenus.h"
#include "main/GamePack.h"
#include "main/GameShell.h"
#include "main/GameSound.h"
#include "utils/GameFolders.h"
#include "utils/Translation.h"

#include <chrono>
#include <memory>
#include <optional>

class FilePack;
class InstanceLock;
class MainWindow;

// The one owner of the program's subsystems: each is opened in the fixed
// order of its member below and closed in the reverse order when this object
// goes. main runs the whole sequence; the end-to-end tests, whose driver
// opens the window itself, open only the parts around it.
class GameStartup {
public:
    static constexpr const char* kLogFile = GameLog::kFileName;
    // Beside the player's files; held while the program runs.
    static constexpr const char* kLockFile = "data/vellomar.lock";
    static constexpr const char* kAlreadyRunning = trLater("Vellomar is already running.");
    static constexpr const char* kPackFile = GameFolders::kPackFile;
    static constexpr const char* kTitle = "Vellomar";
    static constexpr const char* kIconFile = "mui/icon.png";
    static constexpr int kLogicalWidth = LogicalScreen::kWidth;
    static constexpr int kLogicalHeight = LogicalScreen::kHeight;

    // Finds the game's folders from the program's own, locks the player's
    // files, opens the log, starts the whole program, runs it and takes it
    // down; returns the exit code. Given a start time, it quits after the
    // first main-menu frame instead and prints the milliseconds from that
    // time to the finished frame.
    static int runProgram(std::optional<std::chrono::steady_clock::time_point> firstFrameFrom = {});

    GameStartup();
    // What was opened closes in the reverse order.
    ~GameStartup();
    GameStartup(const GameStartup&) = delete;
    GameStartup& operator=(const GameStartup&) = delete;

    FilePack& openPack();
    // The sound manager and the music, once: the configuration is read into them.
    void openSound();
    // The shell, the sound manager, the configuration, the window and its
    // context. False when the program cannot go on.
    bool openShell();
    // The menus over the window there is (the shell's, or a test driver's).
    MainWindow& buildMenus();
    MainWindow& mainWindow() { return m_menus->mainWindow(); }
    MusicPlaylist& music() { return m_sound->music(); }

private:
    int run(std::optional<std::chrono::steady_clock::time_point> firstFrameFrom);

    std::unique_ptr<InstanceLock> m_lock;
    std::optional<GameLog> m_log;
    std::optional<GamePack> m_pack;
    std::optional<GameShell> m_shell;
    std::optional<GameSound> m_sound;
    std::unique_ptr<GameMenus> m_menus;
};
