#pragma once

#include "board/LevelFile.h"

// The designed difficulty curve: board size, holes, worn and locked cells,
// colours, flowers per turn and wildcards for every level from 1 to 100.
// Deterministic: the same level number always gives the same file.
namespace LevelDesign {
inline constexpr int kLevels = 100;
LevelFile make(int level);
} // namespace LevelDesign
