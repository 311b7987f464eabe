// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/GameStartup.h"

#include "app/Application.h"
#include "app/Config.h"
#include "objects/LanguagePack.h"
#include "platform/DisplayLoss.h"
#include "platform/InstanceLock.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/QuitSignals.h"
#include "screens/MainWindow.h"
#include "utils/FilePack.h"
#include "utils/Log.h"
#include "utils/PlayerFile.h"
#include "utils/Translation.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

namespace {

// Another copy of the game runs on the same player's files; its log stays
// as it is.
void tellAlreadyRunning()
{
    std::fprintf(stderr, "vellomar: %s\n", GameStartup::kAlreadyRunning);
    // Only the catalogue: the pack of pictures goes with this stand-in.
    FilePack noPictures;
    Config::get().loadLanguage();
    LanguagePack::follow(noPictures, GameFolders::current().dataFolder(), Config::get().m_language,
                         GameFolders::systemVariable);
    MessageBox::showError(GameStartup::kTitle, tr(GameStartup::kAlreadyRunning));
}

// The lock on the player's files, taken before the log or any of them is
// touched. Null when another copy of the game holds it: that is said on
// standard error and in a message box when there is a display.
std::unique_ptr<InstanceLock> lockPlayerFiles()
{
    const std::string path = GameFolders::current().playerDataFile(GameStartup::kLockFile);
    PlayerFile::makeFolderFor(path);
    auto lock = std::make_unique<InstanceLock>(path);
    switch (lock->state()) {
    case InstanceLock::State::Held:
        break;
    case InstanceLock::State::HeldByAnother:
        tellAlreadyRunning();
        return nullptr;
    case InstanceLock::State::Unavailable:
        // A folder the game cannot lock in is one it cannot save in either:
        // the game still runs, as it does with unwritable files.
        std::fprintf(stderr, "vellomar: cannot lock %s: %s\n", path.c_str(),
                     std::strerror(lock->error()));
        break;
    }
    return lock;
}

// With the display gone, the player's files are written from what the game
// holds in memory; the window's place is the library's own record of it.
void saveWithoutDisplay(MainWindow& mainWindow)
{
    Log::write("%s", tr("The display was lost; saving and leaving."));
    mainWindow.saveGame();
    mainWindow.saveHighScores();
    Config::get().save();
}

// Runs frames until one is drawn; the finished picture is on the screen.
void runFirstFrame()
{
    Application& application = Application::get();
    const std::uint64_t frames = application.frameCount();
    while (application.frameCount() == frames && application.runOnce()) {
    }
    glFinish();
}

} // namespace

GameStartup::GameStartup() = default;
GameStartup::~GameStartup() = default;

FilePack& GameStartup::openPack()
{
    Config::get().loadLanguage();
    m_pack.emplace(Config::get().m_language);
    return m_pack->pack();
}

void GameStartup::openSound()
{
    if (!m_sound)
        m_sound.emplace();
}

bool GameStartup::openShell()
{
    m_shell.emplace();
    openSound();
    Config& config = Config::get();
    config.load();
    return m_shell->open(config, m_pack->pack());
}

MainWindow& GameStartup::buildMenus()
{
    openSound();
    m_menus = std::make_unique<GameMenus>(m_pack->pack(), m_sound->music(), Config::get());
    return m_menus->mainWindow();
}

int GameStartup::runProgram(std::optional<std::chrono::steady_clock::time_point> firstFrameFrom)
{
    QuitSignals::install();
    GameFolders::setCurrent(
        GameFolders::locate(ProgramFolder::path(), GameFolders::systemVariable));
    GameStartup game;
    return game.run(firstFrameFrom);
}

int GameStartup::run(std::optional<std::chrono::steady_clock::time_point> firstFrameFrom)
{
    m_lock = lockPlayerFiles();
    if (m_lock == nullptr)
        return 1;
    m_log.emplace();
    openPack();
    if (!openShell()) {
        std::fprintf(stderr, "vellomar: no display to open the window on\n");
        return 1;
    }
    DisplayLoss::watch();
    MainWindow& mainWindow = buildMenus();
    DisplayLoss::setLastWords([&mainWindow] { saveWithoutDisplay(mainWindow); });
    if (!firstFrameFrom)
        return Application::get().run();
    runFirstFrame();
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - *firstFrameFrom;
    std::printf("first main-menu frame after %.1f ms\n", elapsed.count());
    std::fflush(stdout);
    return 0;
}
