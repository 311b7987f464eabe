#include "LevelDesign.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "board/HexGrid.h"

namespace {
struct Stage {
    int firstLevel;
    int rows;
    int width;
};

// Every board stays inside 800 x 600 and clear of the score, lives, level
// and dynamite displays: at most 15 rows and 17 cells in the middle row.
constexpr std::array<Stage, 7> kStages{{
    {1, 7, 7}, {6, 9, 9}, {16, 9, 11}, {31, 11, 11}, {51, 11, 13}, {71, 13, 15}, {91, 15, 17},
}};

const Stage& stageOf(int level) {
    std::size_t i = 0;
    while (i + 1 < kStages.size() && kStages[i + 1].firstLevel <= level)
        ++i;
    return kStages[i];
}

// Hex distance of a position from the board's centre cell.
int distanceFromCentre(int r, int c, int rows, int width) {
    const int m = rows / 2;
    const int dy = std::abs(r - m);
    const int dx = std::abs(dy + 2 * c - (width - 1));
    return dy + std::max(0, (dx - dy) / 2);
}

std::uint32_t hash(int level, int index) {
    std::uint32_t h = static_cast<std::uint32_t>(level) * 2654435761u ^
                      static_cast<std::uint32_t>(index) * 2246822519u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return h;
}

// Small, separate holes from level 16 on, so the board stays connected.
bool isHole(int level, int r, int c, int rows, int width) {
    if (level < 16)
        return false;
    const int d = distanceFromCentre(r, c, rows, width);
    const int radius = rows / 2;
    switch (level % 4) {
    case 1:
        return d == 0;
    case 2: // two single holes in the middle row, halfway out
        return d == (radius + 1) / 2 && r == rows / 2;
    case 3:
        return level >= 40 && d <= 1;
    default:
        return false;
    }
}

int colours(int level) {
    constexpr std::array<int, 5> firstLevelWith{1, 6, 16, 36, 66}; // 4 .. 8 colours
    int n = 3;
    for (int first : firstLevelWith)
        n += level >= first;
    return n;
}

int flowersPerTurn(int level) {
    constexpr std::array<int, 5> firstLevelWith{1, 6, 21, 51, 81}; // 2 .. 6 flowers
    int n = 1;
    for (int first : firstLevelWith)
        n += level >= first;
    return n;
}

// The smallest percentage that announces n flowers on a board of `cells`.
int percentFor(int n, int cells) {
    for (int p = 1; p < 100; ++p)
        if (static_cast<int>(static_cast<double>(cells) / 100.0 * p) >= n)
            return p;
    return 100;
}

char cellChar(int level, int index) {
    const std::uint32_t h = hash(level, index);
    const int halfPercent = std::max(0, 60 - 4 * (level - 1));
    if (static_cast<int>(h % 100) < halfPercent)
        return '1';
    const int lockedPermille = level < 10 ? 0 : std::min(80, 10 + (level - 10));
    if (static_cast<int>((h >> 8) % 1000) < lockedPermille)
        return '4';
    return '0';
}
} // namespace

LevelFile LevelDesign::make(int level) {
    const Stage& stage = stageOf(level);
    LevelFile f;
    f.rows = stage.rows;
    f.width = stage.width;
    int cells = 0;
    int index = 0;
    for (int r = 0; r < f.rows; ++r) {
        for (int c = 0; c < rowLengthOf(r, f.rows, f.width); ++c, ++index) {
            if (isHole(level, r, c, f.rows, f.width)) {
                f.layout += '.';
                continue;
            }
            f.layout += cellChar(level, index);
            ++cells;
        }
    }
    f.numColours = colours(level);
    f.fillPercent = 20 + level / 10;
    f.newFlowerPercent = percentFor(flowersPerTurn(level), cells);
    f.wildcardPercent = std::max(2, 12 - level / 8);
    return f;
}
