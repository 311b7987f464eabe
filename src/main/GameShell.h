// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Config;
class FilePack;

// The shell the game runs in: the Application at the game's frame rate and
// logical size, destroyed with this object; open() adds the window.
class GameShell {
public:
    GameShell();
    ~GameShell();
    GameShell(const GameShell&) = delete;
    GameShell& operator=(const GameShell&) = delete;

    // The window where the settings put it, kept on the desktop, with its
    // icon from the pack, full screen when set, and its context. False when
    // the program cannot go on.
    bool open(Config& config, const FilePack& pack);
};
