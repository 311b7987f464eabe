#include "screens/GameRun.h"

#include "BoardKeys.h"

#include "board/Field.h"
#include "effects/Picker.h"
#include "game/GameWindow.h"
#include "screens/LevelChoiceScreen.h"
#include "ui/MenuCursor.h"

#include <gtest/gtest.h>

namespace {

// The pointer tip sits at the pointer position; this area holds the shape's body.
PixelRect pointerArea(int x, int y)
{
    return {x, y, x + 24, y + 24};
}

} // namespace

TEST(EndToEnd, TheCarriedFlowerFollowsPlainMotion)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    GameWindow& game = startLevel(run, 1);
    Field& field = *game.field();
    GridPos from{-1, -1};
    for (int r = 0; r < field.rows() && from.row < 0; ++r)
        for (int c = 0; c < field.rowLength(r) && from.row < 0; ++c)
            if (field.flowerAt(r, c) != nullptr && field.flowerAt(r, c)->isIdle())
                from = {r, c};
    ASSERT_GE(from.row, 0);
    const Vec4 centre = field.cellCentre(from.row, from.col);
    ScriptedDriver& driver = run.driver();
    driver.click(int(centre.x), int(centre.y));
    ASSERT_TRUE(driver.runUntil([&] { return game.picker()->isCarrying(); }));
    int visited = 0;
    for (int r = 0; r < field.rows() && visited < 4; r += 2)
        for (int c = 0; c < field.rowLength(r) && visited < 4; c += 3) {
            if (!field.isCell(r, c))
                continue;
            const Vec4 cell = field.cellCentre(r, c);
            driver.moveTo(int(cell.x), int(cell.y));
            driver.runFrames(1);
            EXPECT_EQ(game.picker()->carriedPosition().x, cell.x) << r << "," << c;
            EXPECT_EQ(game.picker()->carriedPosition().y, cell.y) << r << "," << c;
            ++visited;
        }
    EXPECT_EQ(visited, 4);
}

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
}
