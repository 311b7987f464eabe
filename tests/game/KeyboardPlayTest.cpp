// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelPlay.h"
#include "PlayScreenFixture.h"
#include "driver/BoardWaits.h"
#include "effects/Picker.h"
#include "platform/VirtualKey.h"
#include "ui/KeyboardFocus.h"

#include <algorithm>
#include <cmath>

namespace {

bool ringGold(Rgb p)
{
    return p.r > 200 && p.g > 150 && p.b < 110;
}

class KeyboardPlayTest : public PlayScreenFixture {
protected:
    void key(int virtualKey)
    {
        driver.press(virtualKey);
        driver.runFrames(1);
    }
    Vec4 cursorCentre() const
    {
        const GridPos p = game->cursor().position();
        return game->field()->cellCentre(p.row, p.col);
    }
    int lastSound() const { return sounds.empty() ? 0 : sounds.back(); }
    // Gold pixels on the cell's rim, where the ring goes and no flower reaches.
    int goldOnRim(const Vec4& centre) const
    {
        int w = 0, h = 0;
        const std::vector<std::uint8_t> rgb = driver.capture(w, h);
        int n = 0;
        for (int y = int(centre.y) - 26; y < int(centre.y) + 26; ++y)
            for (int x = int(centre.x) - 26; x < int(centre.x) + 26; ++x) {
                const float d = std::hypot(float(x) + 0.5f - centre.x, float(y) + 0.5f - centre.y);
                if (d < 19.0f || d > 25.0f)
                    continue;
                const std::size_t i = (std::size_t(y) * std::size_t(w) + std::size_t(x)) * 3;
                n += ringGold({rgb[i], rgb[i + 1], rgb[i + 2]});
            }
        return n;
    }
};

TEST_F(KeyboardPlayTest, ArrowsMoveTheCursorAndEnterPicksAndDropsAsAClickWould)
{
    startGame(1);
    Field& field = emptyBoard();
    const GridPos start = game->cursor().position();
    EXPECT_EQ(start.row, field.middleRow());
    field.placeFlower(start.row, start.col, 2).makeIdle();
    ASSERT_EQ(game->aim(), Aim::Pointer);

    // The first key only shows the cursor where it is.
    key(VirtualKey::Enter);
    EXPECT_EQ(game->aim(), Aim::Cursor);
    EXPECT_FALSE(game->picker()->isCarrying());
    key(VirtualKey::Enter);
    ASSERT_TRUE(game->picker()->isCarrying());
    EXPECT_TRUE(field.isSelectedAt(start.row, start.col));
    EXPECT_EQ(lastSound(), 107);

    key(VirtualKey::Down);
    key(VirtualKey::Down);
    const GridPos target = game->cursor().position();
    EXPECT_EQ(target.row, start.row + 2);
    driver.runFrames(2);
    shot("keyboard_carrying");
    // The carried copy and the path preview follow the cursor as they follow the mouse.
    EXPECT_EQ(game->picker()->carriedPosition().x, cursorCentre().x);
    EXPECT_EQ(game->picker()->carriedPosition().y, cursorCentre().y);
    ASSERT_FALSE(field.trail().empty());
    EXPECT_EQ(field.trail().front(), start);
    EXPECT_EQ(field.trail().back(), target);

    key(VirtualKey::Space);
    EXPECT_FALSE(game->picker()->isCarrying());
    EXPECT_EQ(lastSound(), 107);
    ASSERT_TRUE(driver.runUntil([&] { return boardQuiet(field); }));
    ASSERT_NE(field.flowerAt(target.row, target.col), nullptr);
    EXPECT_EQ(field.flowerAt(target.row, target.col)->colour(), 2);
    EXPECT_EQ(field.statistics().m_statBallsExploded, 0);

    // On an empty cell the press bonks, as a click there does.
    key(VirtualKey::Up);
    ASSERT_EQ(field.flowerAt(game->cursor().position().row, game->cursor().position().col),
              nullptr);
    key(VirtualKey::Enter);
    EXPECT_EQ(lastSound(), 104);
}

TEST_F(KeyboardPlayTest, AHeldArrowKeepsWalkingButAHeldEnterPicksOnce)
{
    startGame(1);
    Field& field = emptyBoard();
    key(VirtualKey::Left);
    const GridPos start = game->cursor().position();
    field.placeFlower(start.row, start.col, 2).makeIdle();
    driver.keyDown(VirtualKey::Right);
    driver.keyRepeat(VirtualKey::Right);
    driver.keyRepeat(VirtualKey::Right);
    driver.keyUp(VirtualKey::Right);
    driver.runFrames(1);
    EXPECT_EQ(game->cursor().position(), (GridPos{start.row, start.col + 3}));
    key(VirtualKey::Left);
    key(VirtualKey::Left);
    key(VirtualKey::Left);
    driver.keyDown(VirtualKey::Enter);
    driver.runFrames(1);
    ASSERT_TRUE(game->picker()->isCarrying());
    // Held down, Enter would drop the flower straight back on its own cell.
    driver.keyRepeat(VirtualKey::Enter);
    driver.keyUp(VirtualKey::Enter);
    driver.runFrames(1);
    EXPECT_TRUE(game->picker()->isCarrying());
}

TEST_F(KeyboardPlayTest, EscapePutsTheCarriedFlowerBackAndOnlyThenLeaves)
{
    startGame(1);
    Field& field = emptyBoard();
    const GridPos start = game->cursor().position();
    field.placeFlower(start.row, start.col, 1).makeIdle();
    key(VirtualKey::Enter);
    key(VirtualKey::Enter);
    ASSERT_TRUE(game->picker()->isCarrying());
    key(VirtualKey::Right);
    key(VirtualKey::Escape);
    EXPECT_FALSE(game->picker()->isCarrying());
    EXPECT_FALSE(field.hasSelection());
    EXPECT_TRUE(field.trail().empty());
    EXPECT_EQ(lastSound(), 108);
    ASSERT_NE(field.flowerAt(start.row, start.col), nullptr);
    EXPECT_EQ(driver.app().frontScreen(), game.get());

    key(VirtualKey::Escape);
    EXPECT_EQ(driver.app().frontScreen(), &base);
    EXPECT_FALSE(game->isGameOver());
}

TEST_F(KeyboardPlayTest, TheControllerMenuButtonPutsTheFlowerBackAndLeavesAtOnce)
{
    startGame(1);
    Field& field = emptyBoard();
    const GridPos start = game->cursor().position();
    field.placeFlower(start.row, start.col, 3).makeIdle();
    key(VirtualKey::Enter);
    key(VirtualKey::Enter);
    ASSERT_TRUE(game->picker()->isCarrying());
    // The controller's buttons arrive as key codes no keyboard has.
    game->onKeyDown(VirtualKey::GamepadMenu);
    driver.runFrames(1);
    EXPECT_FALSE(game->picker()->isCarrying());
    EXPECT_FALSE(field.hasSelection());
    EXPECT_EQ(driver.app().frontScreen(), &base);
    EXPECT_NE(field.flowerAt(start.row, start.col), nullptr);
}

TEST_F(KeyboardPlayTest, TheCursorRingShowsOnEveryKindOfCellUntilTheMouseMoves)
{
    startGame(1);
    Field& field = emptyBoard();
    const Vec4 cell = cursorCentre();
    driver.moveTo(600, 480);
    driver.runFrames(2);
    EXPECT_LT(goldOnRim(cell), 10) << "no cursor while the mouse leads";

    key(VirtualKey::Up);
    driver.runFrames(1);
    shot("keyboard_cursor_empty_cell");
    EXPECT_EQ(game->aim(), Aim::Cursor);
    EXPECT_EQ(cursorCentre().x, cell.x) << "the first key only shows the cursor";
    EXPECT_GT(goldOnRim(cell), 80) << "the ring around the cell";

    driver.moveTo(600, 480);
    driver.runFrames(2);
    EXPECT_EQ(game->aim(), Aim::Pointer);
    EXPECT_LT(goldOnRim(cell), 10) << "the mouse hides the cursor";

    // The ring shows on every kind of cell and flower.
    const int m = field.middleRow();
    const CellType types[] = {CellType::Raw, CellType::HalfCleared, CellType::Cleared,
                              CellType::Locked};
    std::vector<GridPos> row;
    for (int c = 0; c < field.rowLength(m); ++c)
        if (field.isCell(m, c))
            row.push_back({m, c});
    // Every cell kind bare and under each colour, the wildcards included.
    const int colours[] = {-1, 0, 1, 2, 3, 4, 13, 14, 15};
    for (std::size_t i = 0; i < row.size(); ++i) {
        field.cellBackAt(row[i].row, row[i].col)->setType(types[i % 4]);
        const int colour = colours[i % std::size(colours)];
        if (colour >= 0)
            field.placeFlower(row[i].row, row[i].col, colour).makeIdle();
    }
    key(VirtualKey::Left);
    while (game->cursor().position() != row.front())
        key(VirtualKey::Left);
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0)
            key(VirtualKey::Right);
        ASSERT_EQ(game->cursor().position(), row[i]);
        driver.runFrames(1);
        EXPECT_GT(goldOnRim(cursorCentre()), 80) << "cell " << i;
        if (i < 4)
            shot("keyboard_ring_" + std::to_string(i));
    }
}

TEST_F(KeyboardPlayTest, TheCursorShowsAtOnceWhenTheKeysLedInTheMenus)
{
    KeyboardFocus::setShown(true);
    startGame(1);
    EXPECT_EQ(game->aim(), Aim::Cursor);
    const GridPos start = game->cursor().position();
    key(VirtualKey::Right);
    EXPECT_NE(game->cursor().position(), start) << "the first key already moves";

    // Back in the menus the focus glow shows by the same rule.
    driver.moveTo(700, 500);
    driver.runFrames(1);
    EXPECT_FALSE(KeyboardFocus::isShown());
    key(VirtualKey::Left);
    EXPECT_TRUE(KeyboardFocus::isShown());
    key(VirtualKey::Escape);
    ASSERT_EQ(driver.app().frontScreen(), &base);
    driver.click(100, 100);
    driver.runFrames(1);
    driver.show(*game);
    driver.runFrames(1);
    EXPECT_EQ(game->aim(), Aim::Pointer) << "came back by a click";
}

// The controller's Y arrives as a key code no keyboard has and shoots as X does.
class InsectShotTest : public KeyboardPlayTest, public testing::WithParamInterface<int> {
protected:
    void shoot()
    {
        game->onKeyDown(GetParam());
        driver.runFrames(1);
    }
};

TEST_P(InsectShotTest, TheKeyShootsTheFlyingInsectForTheMouseShotsPoints)
{
    startGame(6);
    Field& field = *game->field();
    shoot();
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), 106), 0) << "no insect, no shot";
    // The first insect of level 6 comes after ninety seconds of a quiet board.
    field.update(Field::insectInterval(6));
    ASSERT_TRUE(driver.runUntil([&] { return field.insectActive(); }));
    shoot();
    EXPECT_FALSE(field.insect()->hit()) << "it comes in from beyond the screen's edge";
    ASSERT_TRUE(driver.runUntil([&] {
        return field.insect()->position().x > 0.0f && field.insect()->position().x < 800.0f &&
               field.insect()->position().y > 0.0f && field.insect()->position().y < 600.0f;
    }));
    const int score = field.score();
    shoot();
    EXPECT_TRUE(field.insect()->hit());
    EXPECT_EQ(field.score(), score + 1000);
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), 106), sounds.end()) << "the shot";
}

INSTANTIATE_TEST_SUITE_P(XAndY, InsectShotTest,
                         testing::Values(VirtualKey::X, VirtualKey::GamepadY));

TEST_F(KeyboardPlayTest, EnterGoesOnFromTheResultsWithTheCursorHidden)
{
    startGame(1);
    LevelPlay::clearBoard(*game->field());
    playUntilFinished();
    ASSERT_EQ(game->aim(), Aim::Pointer);
    key(VirtualKey::Enter);
    ASSERT_TRUE(driver.runUntil([&] { return game->field() && game->field()->level() == 2; }));
    ASSERT_TRUE(driver.runUntil([&] { return game->field()->state() == FieldState::Idle; }));
    EXPECT_EQ(game->cursor().position().row, game->field()->middleRow());
}

} // namespace
