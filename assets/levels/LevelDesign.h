#pragma once

#include "board/LevelFile.h"
#include "board/LevelSet.h"

// The designed difficulty curve: board size, holes, worn and locked cells,
// colours, flowers per turn and wildcards for every level from 1 to 100.
// Deterministic: the same level number always gives the same file. Any change
// to what it writes raises kLevelSetVersion (board/LevelSet.h).
namespace LevelDesign {
inline constexpr int kLevels = 100;
// Boards are centred on this x of the 800-unit play screen.
inline constexpr float kScreenCentreX = 400.0f;

// What a level asks of the player, before it is laid out on a board.
struct Design {
    int rows = 0;  // odd
    int width = 0; // cells in the middle row, without the holes that centre the board
    int colours = 0;
    int fillPercent = 0;
    int flowersPerTurn = 0;
    int wildcardPercent = 0;
    int lockedPermille = 0;
    // Explosions the whole board needs: two per raw cell, one per half-cleared
    // one, three per locked one. The bulk of a level's length.
    int work = 0;
    bool centreHole = false;
    // The six corners start cleared: a line only ends there, and hunting for
    // them is no lesson on the small first boards.
    bool clearedCorners = false;
};

Design design(int level);
// The level file: the design on its hexagon, with holes where the flowers per
// turn need them and leading holes that centre the board on the screen.
LevelFile make(int level);
} // namespace LevelDesign
