#include "screens/GameRun.h"

#include "BoardKeys.h"

#include "board/Field.h"
#include "effects/Picker.h"
#include "game/GameWindow.h"
#include "screens/LevelChoiceScreen.h"
#include "screens/MenuCursor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

struct Area {
    int x0, y0, x1, y1;
};

// The logical area's pixels as drawn by the last frame.
std::vector<Rgb> pixelsOf(ScriptedDriver& driver, Area area)
{
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgb = driver.capture(width, height);
    std::vector<Rgb> out;
    for (int y = driver.toClientY(area.y0); y < driver.toClientY(area.y1) && y < height; ++y)
        for (int x = driver.toClientX(area.x0); x < driver.toClientX(area.x1) && x < width; ++x) {
            const std::size_t at = (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
            out.push_back({rgb[at], rgb[at + 1], rgb[at + 2]});
        }
    return out;
}

int differingPixels(const std::vector<Rgb>& a, const std::vector<Rgb>& b)
{
    int count = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        count += std::abs(a[i].r - b[i].r) + std::abs(a[i].g - b[i].g) +
                     std::abs(a[i].b - b[i].b) > 60;
    return count;
}

// The pointer tip sits at the pointer position; this area holds the shape's body.
Area pointerArea(int x, int y)
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
    MenuCursor* cursor = MenuCursor::instance();
    ASSERT_NE(cursor, nullptr);
    const Area spot = pointerArea(740, 540);
    driver.moveTo(spot.x0, spot.y0);
    driver.runFrames(1);
    EXPECT_EQ(cursor->shape(), CursorShape::Normal);
    const std::vector<Rgb> normal = pixelsOf(driver, spot);

    // The player waits for the first insect.
    driver.clock().advance(std::uint32_t(Field::insectInterval(6)));
    ASSERT_TRUE(driver.runUntil([&] { return game.field()->insectActive(); }));
    driver.runFrames(1);
    EXPECT_EQ(cursor->shape(), CursorShape::Aiming);
    EXPECT_GT(differingPixels(pixelsOf(driver, spot), normal), 40) << "the same shape is drawn";
    run.shot("play_pointer_aiming");

    ASSERT_TRUE(driver.runUntil([&] { return !game.field()->insectActive(); }));
    driver.runFrames(1);
    EXPECT_EQ(cursor->shape(), CursorShape::Normal);
}
