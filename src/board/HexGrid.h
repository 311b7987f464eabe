// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdlib>

// The board's (row, column) addressing. Rows above the middle row are shifted
// one way, rows below it the other, so a step's offset depends on which half
// of the hexagon it starts from.
struct GridPos {
    int row = 0;
    int col = 0;
    bool operator==(const GridPos&) const = default;
};

enum class Direction { West, East, NorthWest, NorthEast, SouthWest, SouthEast };
enum class RowHalf { Upper, Middle, Lower };

struct HexTables {
    struct Offset {
        int dr;
        int dc;
    };
    // [half][direction]
    std::array<std::array<Offset, 6>, 3> steps;
    // The neighbour order of the path search, per half.
    std::array<std::array<Direction, 6>, 3> searchOrder;
    // The three line axes, each as two opposite directions.
    std::array<std::array<Direction, 2>, 3> lineAxes;
};

inline constexpr HexTables kHex{
    {{
        {{{0, -1}, {0, 1}, {-1, -1}, {-1, 0}, {1, 0}, {1, 1}}},
        {{{0, -1}, {0, 1}, {-1, -1}, {-1, 0}, {1, -1}, {1, 0}}},
        {{{0, -1}, {0, 1}, {-1, 0}, {-1, 1}, {1, -1}, {1, 0}}},
    }},
    {{
        {Direction::NorthEast, Direction::SouthWest, Direction::West, Direction::East,
         Direction::NorthWest, Direction::SouthEast},
        {Direction::NorthEast, Direction::SouthEast, Direction::West, Direction::East,
         Direction::NorthWest, Direction::SouthWest},
        {Direction::NorthWest, Direction::SouthEast, Direction::West, Direction::East,
         Direction::NorthEast, Direction::SouthWest},
    }},
    {{
        {Direction::West, Direction::East},
        {Direction::NorthWest, Direction::SouthEast},
        {Direction::SouthWest, Direction::NorthEast},
    }},
};

inline constexpr RowHalf rowHalf(int row, int middleRow)
{
    if (row < middleRow)
        return RowHalf::Upper;
    return row == middleRow ? RowHalf::Middle : RowHalf::Lower;
}

// One step; the result may lie off the board.
inline constexpr GridPos step(GridPos p, Direction d, int middleRow)
{
    const auto off = kHex.steps[static_cast<int>(rowHalf(p.row, middleRow))][static_cast<int>(d)];
    return {p.row + off.dr, p.col + off.dc};
}

inline constexpr const std::array<Direction, 6>& searchOrder(int row, int middleRow)
{
    return kHex.searchOrder[static_cast<int>(rowHalf(row, middleRow))];
}

inline constexpr int rowLengthOf(int row, int rows, int width)
{
    const int off = rows / 2 - row;
    return width - (off < 0 ? -off : off);
}
