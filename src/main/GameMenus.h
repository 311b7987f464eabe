// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/PlayArt.h"

#include <memory>

class Config;
class FilePack;
class MainWindow;
class MusicPlaylist;
class SaveFailureNotice;

// The menus the program runs: the intro picture while the sound, the
// play-screen resources and the main menu load; then the drawn pointer, the
// system one hidden. The window and its context exist already. Destroying
// the menus writes the saved game, the high scores and the configuration,
// and brings the system pointer back.
class GameMenus {
public:
    // music: what the menus and the play screen play; config: the settings
    // the menus show, change and write at the end; neither owned.
    GameMenus(FilePack& pack, MusicPlaylist& music, Config& config);
    ~GameMenus();
    GameMenus(const GameMenus&) = delete;
    GameMenus& operator=(const GameMenus&) = delete;

    MainWindow& mainWindow() { return *m_mainWindow; }

private:
    Config& m_config;
    PlayArt m_art;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<SaveFailureNotice> m_saveFailure;
};
