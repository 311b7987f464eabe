// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class GameWindow;

// Told by the play screen whenever the game moves on (a level begun, the game
// over), so that its owner puts the player's progress on disk right then
// instead of only at a clean exit.
class GameProgress {
public:
    virtual ~GameProgress() = default;
    // Called after the next board was built, or the game ended; the game's
    // save() already describes the new state.
    virtual void gameProgressed(GameWindow& game) = 0;
};
