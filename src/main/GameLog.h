// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The log for the program's run, closed with this object. It is emptied in
// its folder (made when missing), the previous session's kept beside it as
// game.log.old; a log that cannot be written is said once on standard error
// and the game goes on without it.
class GameLog {
public:
    static constexpr const char* kFileName = "game.log";

    GameLog();
    ~GameLog();
    GameLog(const GameLog&) = delete;
    GameLog& operator=(const GameLog&) = delete;
};
