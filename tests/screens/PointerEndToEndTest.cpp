// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/GameRun.h"

#include "board/Field.h"
#include "game/GameWindow.h"
#include "platform/VirtualKey.h"
#include "screens/LevelChoiceScreen.h"
#include "ui/MenuCursor.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Pixels of the logical area that changed clearly since the earlier shot.
int changedPixels(const ScriptedDriver& driver, PixelRect area, const Screenshot& before)
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
GameWindow& startLevel(GameRun& run, int level)
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

// The pointer tip sits at the pointer position; this area holds the shape's body.
PixelRect pointerArea(int x, int y)
{
    return {x, y, x + 24, y + 24};
}

} // namespace

TEST(EndToEnd, ThePointerAimsWhileAnInsectFliesAndIsNormalOnceItLanded)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    GameWindow& game = startLevel(run, 6);
    ScriptedDriver& driver = run.driver();
    ASSERT_TRUE(MenuCursor::exists());
    MenuCursor* cursor = &MenuCursor::get();
    const PixelRect spot = pointerArea(740, 540);
    driver.moveTo(spot.x0, spot.y0);
    driver.runFrames(1);
    EXPECT_EQ(cursor->shape(), CursorShape::Normal);
    const Screenshot normal = driver.screenshot();

    // The player waits for the first insect.
    driver.clock().advance(std::uint32_t(Field::insectInterval(6)));
    ASSERT_TRUE(driver.runUntil([&] { return game.field()->insectActive(); }));
    driver.runFrames(1);
    EXPECT_EQ(cursor->shape(), CursorShape::Aiming);
    EXPECT_GT(changedPixels(driver, spot, normal), 40) << "the same shape is drawn";
    run.shot("play_pointer_aiming");

    ASSERT_TRUE(driver.runUntil([&] { return !game.field()->insectActive(); }));
    driver.runFrames(1);
    EXPECT_EQ(cursor->shape(), CursorShape::Normal);
    run.press(VirtualKey::Up);
    EXPECT_GT(changedPixels(driver, spot, normal), 40) << "the keys hide the pointer";
}
