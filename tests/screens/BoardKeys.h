#pragma once

#include "screens/GameRun.h"

#include "board/CellCursor.h"
#include "board/Field.h"
#include "game/GameWindow.h"
#include "game/LevelPlay.h"
#include "screens/LevelChoiceScreen.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Board set-ups, cursor walks and pixel checks shared by the end-to-end tests
// that play the board.

// Pixels of the logical area that changed clearly since the earlier shot.
inline int changedPixels(const ScriptedDriver& driver, PixelRect area, const Screenshot& before)
{
    const Screenshot now = driver.screenshot();
    int count = 0;
    for (int y = driver.toClientY(area.y0); y < driver.toClientY(area.y1); ++y)
        for (int x = driver.toClientX(area.x0); x < driver.toClientX(area.x1); ++x) {
            const Rgb a = now.at(x, y);
            const Rgb b = before.at(x, y);
            count += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 60;
        }
    return count;
}

// A new game from the main menu, on the given level once the board is quiet.
inline GameWindow& startLevel(GameRun& run, int level)
{
    run.click(run.main().button("m_game_btn"));
    run.click(run.main().levelChoice()->okButton());
    EXPECT_TRUE(run.driver().runUntil([&] { return run.front() == run.main().game(); }));
    GameWindow& game = *run.main().game();
    if (game.field()->level() != level)
        game.startLevel(level, 0);
    EXPECT_TRUE(run.driver().runUntil([&] { return game.field()->state() == FieldState::Idle; }));
    return game;
}

// Everything cleared but three half-cleared cells of the middle row, two of
// them holding a flower; the third flower of that colour stands two rows down.
struct OneMoveLeft {
    GridPos row[3];
    GridPos third;
};

inline OneMoveLeft leaveOneMove(Field& field)
{
    LevelPlay::clearBoard(field);
    const int m = field.middleRow();
    int k = 0;
    while (!field.isCell(m, k))
        ++k;
    OneMoveLeft board{{{m, k + 1}, {m, k + 2}, {m, k + 3}}, {m + 2, k + 2}};
    for (const GridPos& p : board.row)
        field.cellBackAt(p.row, p.col)->setType(CellType::HalfCleared);
    field.placeFlower(m, k + 1, 1).makeIdle();
    field.placeFlower(m, k + 2, 1).makeIdle();
    field.placeFlower(board.third.row, board.third.col, 1).makeIdle();
    return board;
}

// Steps the cell cursor onto the cell: rows first, then along the row.
// press(step) makes one press and returns once the game has seen it (false
// when it never did); the first press only shows a hidden cursor.
template <typename Press> bool walkCursorTo(const GameWindow& game, GridPos cell, Press press)
{
    if (game.aim() != Aim::Cursor && !press(CursorStep::Up))
        return false;
    for (int steps = 0; steps < 40 && game.cursor().position() != cell; ++steps) {
        const GridPos at = game.cursor().position();
        const CursorStep step = cell.row < at.row   ? CursorStep::Up
                                : cell.row > at.row ? CursorStep::Down
                                : cell.col < at.col ? CursorStep::Left
                                                    : CursorStep::Right;
        if (!press(step))
            return false;
    }
    return game.cursor().position() == cell;
}
