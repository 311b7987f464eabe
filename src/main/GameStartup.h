#pragma once

#include "app/LogicalScreen.h"
#include "utils/GameFolders.h"

#include <chrono>
#include <memory>
#include <optional>

class FilePack;
class InstanceLock;
class MainWindow;

// The program's start-up and shutdown in their fixed order. main runs the
// whole sequence; the end-to-end tests, whose driver opens the window
// itself, run the parts around it.
namespace GameStartup {

constexpr const char* kLogFile = "game.log";
// Beside the player's files; held while the program runs.
constexpr const char* kLockFile = "data/vellomar.lock";
constexpr const char* kAlreadyRunning = "Vellomar is already running.";
constexpr const char* kPackFile = GameFolders::kPackFile;
constexpr const char* kTitle = "Vellomar";
constexpr const char* kIconFile = "mui/icon.png";
constexpr int kLogicalWidth = LogicalScreen::kWidth;
constexpr int kLogicalHeight = LogicalScreen::kHeight;

// Finds the game's folders from the program's own, locks the player's files,
// opens the log, starts the whole program, runs it and takes it down; returns
// the exit code. Given a start time, it quits after the first main-menu frame
// instead and prints the milliseconds from that time to the finished frame.
int runProgram(std::optional<std::chrono::steady_clock::time_point> firstFrameFrom = {});
// The lock on the player's files, taken before the log or any of them is
// touched. Null when another copy of the game holds it: that is said on
// standard error and in a message box when there is a display.
std::unique_ptr<InstanceLock> lockPlayerFiles();
// The log emptied in its folder (made when missing), the previous session's
// kept beside it as game.log.old; a log that cannot be written is said once
// on standard error and the game goes on without it.
void openLog();

// The shell, the sound manager, the configuration, the window and its
// context. False when the program cannot go on.
bool openShell();

// The pack "main" with its key and data/data.pk from the game's data folder,
// which also serves the names the pack lacks (a missing pack is no error),
// and beside it the optional fine pictures, data/data2x.pk. A pack that is
// there but damaged ends the program with a message asking for a reinstall.
// The first screens' pictures start decoding ahead (ImagePrefetch).
FilePack& openPack();
// The intro picture while the sound, the play-screen resources and the main
// menu load; then the drawn pointer, the system one hidden. The window and
// its context exist already.
std::unique_ptr<MainWindow> buildMenus();
// The saved game and the high scores written, the configuration saved, the
// drawn pointer gone and the system one back.
void closeMenus(std::unique_ptr<MainWindow> mainWindow);
// The pack and the sound manager destroyed; pictures decoded ahead and never
// drawn dropped.
void releaseResources();

} // namespace GameStartup
