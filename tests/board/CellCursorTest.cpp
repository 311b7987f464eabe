// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "BoardBuilder.h"
#include "board/CellCursor.h"

#include <cmath>
#include <initializer_list>

namespace {

// A 9 x 9 hexagon of raw cells with holes where asked (rows of 5 … 9 … 5).
std::unique_ptr<Field> hexagonWithHoles(std::initializer_list<GridPos> holes = {})
{
    BoardShape shape{.rows = 9, .width = 9};
    std::string layout;
    for (int r = 0; r < shape.rows; ++r)
        for (int c = 0; c < rowLengthOf(r, shape.rows, shape.width); ++c) {
            bool hole = false;
            for (const GridPos& h : holes)
                hole = hole || (h == GridPos{r, c});
            layout += hole ? 'x' : '0';
        }
    shape.layout = layout;
    return makeField(shape);
}

CellCursor cursorAt(const Field& field, GridPos start)
{
    CellCursor cursor;
    cursor.reset(field);
    // Walk there along the middle row and then up or down; the tests below
    // check that those walks are sound, here they only place the cursor.
    while (cursor.position().row != start.row)
        cursor.step(field, start.row < cursor.position().row ? CursorStep::Up : CursorStep::Down);
    while (cursor.position().col != start.col)
        cursor.step(field,
                    start.col < cursor.position().col ? CursorStep::Left : CursorStep::Right);
    return cursor;
}

bool isNeighbour(const Field& field, GridPos from, GridPos to,
                 std::initializer_list<Direction> ways)
{
    for (Direction d : ways)
        if (step(from, d, field.middleRow()) == to)
            return true;
    return false;
}

float xOf(const Field& field, GridPos p)
{
    return field.cellCentre(p.row, p.col).x;
}

} // namespace

TEST(CellCursor, StartsOnTheMiddleCellOrTheNearestCellToIt)
{
    auto full = hexagonWithHoles();
    CellCursor cursor;
    cursor.reset(*full);
    EXPECT_EQ(cursor.position(), (GridPos{4, 4}));

    auto holed = hexagonWithHoles({{4, 4}});
    cursor.reset(*holed);
    EXPECT_EQ(cursor.position(), (GridPos{4, 3}));

    // A board without a middle row still gets a cell.
    auto ring =
        hexagonWithHoles({{4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}, {4, 6}, {4, 7}, {4, 8}});
    cursor.reset(*ring);
    EXPECT_TRUE(ring->isCell(cursor.position()));
    EXPECT_EQ(cursor.position().row, 3);
}

TEST(CellCursor, LeftAndRightWalkTheRowOverHolesAndStopAtItsEnds)
{
    auto field = hexagonWithHoles({{4, 5}, {4, 6}, {2, 0}});
    CellCursor cursor = cursorAt(*field, {4, 4});
    EXPECT_TRUE(cursor.step(*field, CursorStep::Right));
    EXPECT_EQ(cursor.position(), (GridPos{4, 7}));
    EXPECT_TRUE(cursor.step(*field, CursorStep::Right));
    EXPECT_EQ(cursor.position(), (GridPos{4, 8}));
    EXPECT_FALSE(cursor.step(*field, CursorStep::Right));
    EXPECT_EQ(cursor.position(), (GridPos{4, 8}));
    cursor.step(*field, CursorStep::Left);
    EXPECT_TRUE(cursor.step(*field, CursorStep::Left));
    EXPECT_EQ(cursor.position(), (GridPos{4, 4}));

    // The first cell of row 2 is a hole: column 1 is that row's west end.
    cursor = cursorAt(*field, {2, 2});
    EXPECT_TRUE(cursor.step(*field, CursorStep::Left));
    EXPECT_EQ(cursor.position(), (GridPos{2, 1}));
    EXPECT_FALSE(cursor.step(*field, CursorStep::Left));
    EXPECT_EQ(cursor.position(), (GridPos{2, 1}));
}

TEST(CellCursor, UpAndDownStepToADiagonalNeighbourInEitherHalfOfTheBoard)
{
    auto field = hexagonWithHoles();
    for (int r = 0; r < field->rows(); ++r)
        for (int c = 0; c < field->rowLength(r); ++c) {
            const GridPos from{r, c};
            CellCursor up = cursorAt(*field, from);
            ASSERT_EQ(up.position(), from);
            if (up.step(*field, CursorStep::Up))
                EXPECT_TRUE(isNeighbour(*field, from, up.position(),
                                        {Direction::NorthWest, Direction::NorthEast}))
                    << "up from " << r << "," << c;
            else
                EXPECT_EQ(r, 0);
            CellCursor down = cursorAt(*field, from);
            if (down.step(*field, CursorStep::Down))
                EXPECT_TRUE(isNeighbour(*field, from, down.position(),
                                        {Direction::SouthWest, Direction::SouthEast}))
                    << "down from " << r << "," << c;
            else
                EXPECT_EQ(r, field->rows() - 1);
        }
}

TEST(CellCursor, RepeatedUpOrDownGoesStraightByTurnsOfTheTwoDiagonals)
{
    auto field = hexagonWithHoles();
    for (const CursorStep way : {CursorStep::Up, CursorStep::Down}) {
        CellCursor cursor = cursorAt(*field, {4, 4});
        const float column = xOf(*field, cursor.position());
        std::vector<float> xs;
        while (cursor.step(*field, way)) {
            EXPECT_LE(std::fabs(xOf(*field, cursor.position()) - column), 20.0f);
            xs.push_back(xOf(*field, cursor.position()));
        }
        ASSERT_EQ(xs.size(), 4u);
        // West diagonal, east diagonal, west, east: a zigzag about the column.
        EXPECT_FLOAT_EQ(xs[0], column - 20.0f);
        EXPECT_FLOAT_EQ(xs[1], column);
        EXPECT_FLOAT_EQ(xs[2], column - 20.0f);
        EXPECT_FLOAT_EQ(xs[3], column);
        EXPECT_EQ(cursor.position().row, way == CursorStep::Up ? 0 : 8);
    }
}

TEST(CellCursor, DownUndoesUpEverywhereAndTheWalkFollowsTheBoardEdge)
{
    auto field = hexagonWithHoles({{3, 4}, {3, 5}, {2, 3}});
    for (int r = 0; r < field->rows(); ++r)
        for (int c = 0; c < field->rowLength(r); ++c) {
            if (!field->isCell(r, c))
                continue;
            CellCursor cursor = cursorAt(*field, {r, c});
            if (cursor.step(*field, CursorStep::Up)) {
                ASSERT_TRUE(cursor.step(*field, CursorStep::Down));
                EXPECT_EQ(cursor.position(), (GridPos{r, c})) << "from " << r << "," << c;
            }
        }
    // Up the west edge of the lower half and back down to the corner.
    CellCursor cursor = cursorAt(*field, {8, 0});
    std::vector<GridPos> path;
    while (cursor.step(*field, CursorStep::Up))
        path.push_back(cursor.position());
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), (GridPos{7, 0}));
    while (cursor.step(*field, CursorStep::Down)) {
    }
    EXPECT_EQ(cursor.position(), (GridPos{8, 0}));
}

TEST(CellCursor, VerticalStepsPassOverHolesAndRowsWithoutCells)
{
    // Both diagonals above (4, 4) are holes: the nearest cell of row 3 is taken.
    auto field = hexagonWithHoles({{3, 3}, {3, 4}});
    CellCursor cursor = cursorAt(*field, {4, 4});
    ASSERT_TRUE(cursor.step(*field, CursorStep::Up));
    EXPECT_EQ(cursor.position(), (GridPos{3, 2}));
    ASSERT_TRUE(cursor.step(*field, CursorStep::Down));
    EXPECT_EQ(cursor.position(), (GridPos{4, 4}));

    // A row of holes is stepped over.
    auto split = hexagonWithHoles({{5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}, {5, 6}, {5, 7}});
    cursor = cursorAt(*split, {4, 4});
    ASSERT_TRUE(cursor.step(*split, CursorStep::Down));
    EXPECT_EQ(cursor.position(), (GridPos{6, 3}));
    ASSERT_TRUE(cursor.step(*split, CursorStep::Up));
    EXPECT_EQ(cursor.position(), (GridPos{4, 4}));
}

TEST(CellCursor, KeepsItsCellOnABoardThatHasItAndResetsOtherwise)
{
    auto big = hexagonWithHoles();
    CellCursor cursor = cursorAt(*big, {1, 1});
    cursor.fitTo(*big);
    EXPECT_EQ(cursor.position(), (GridPos{1, 1}));
    auto holed = hexagonWithHoles({{1, 1}});
    cursor.fitTo(*holed);
    EXPECT_EQ(cursor.position(), (GridPos{4, 4}));
}
