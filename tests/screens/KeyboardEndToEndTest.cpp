#include "screens/GameRun.h"

#include "board/Field.h"
#include "driver/BoardWaits.h"
#include "effects/Picker.h"
#include "game/GameWindow.h"
#include "screens/LevelChoiceScreen.h"
#include "screens/XKeyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Area {
    int x0, y0, x1, y1;
};

int differingPixels(ScriptedDriver& driver, Area area, const std::vector<std::uint8_t>& before)
{
    int width = 0, height = 0;
    const std::vector<std::uint8_t> now = driver.capture(width, height);
    int count = 0;
    std::size_t k = 0;
    for (int y = driver.toClientY(area.y0); y < driver.toClientY(area.y1); ++y)
        for (int x = driver.toClientX(area.x0); x < driver.toClientX(area.x1); ++x, k += 3) {
            const std::size_t at = (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
            int d = 0;
            for (int i = 0; i < 3; ++i)
                d += std::abs(int(now[at + std::size_t(i)]) - int(before[k + std::size_t(i)]));
            count += d > 60;
        }
    return count;
}

std::vector<std::uint8_t> pixelsOf(ScriptedDriver& driver, Area area)
{
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgb = driver.capture(width, height);
    std::vector<std::uint8_t> out;
    for (int y = driver.toClientY(area.y0); y < driver.toClientY(area.y1); ++y)
        for (int x = driver.toClientX(area.x0); x < driver.toClientX(area.x1); ++x)
            for (int i = 0; i < 3; ++i)
                out.push_back(rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3 +
                                  std::size_t(i)]);
    return out;
}

class KeyboardGame {
public:
    KeyboardGame(GameRun& run, GameWindow& game, const XKeyboard& keys)
        : m_run(run), m_game(game), m_keys(keys)
    {
    }

    // One key, then frames until the game has seen it.
    template <typename Done> bool key(const char* name, Done done)
    {
        m_keys.key(name);
        return m_run.driver().runUntil(done, 600);
    }
    // Arrow keys until the cursor stands on the cell.
    bool walkTo(GridPos cell)
    {
        if (m_game.aim() != Aim::Cursor &&
            !key("Up", [&] { return m_game.aim() == Aim::Cursor; }))
            return false;
        for (int steps = 0; steps < 40 && position() != cell; ++steps) {
            const GridPos before = position();
            const char* name = cell.row < before.row   ? "Up"
                               : cell.row > before.row ? "Down"
                               : cell.col < before.col ? "Left"
                                                       : "Right";
            if (!key(name, [&] { return position() != before; }))
                return false;
        }
        return position() == cell;
    }

private:
    GridPos position() const { return m_game.cursor().position(); }

    GameRun& m_run;
    GameWindow& m_game;
    const XKeyboard& m_keys;
};

GameWindow& startLevelOne(GameRun& run)
{
    run.click(run.main().button("m_game_btn"));
    run.click(run.main().levelChoice()->okButton());
    EXPECT_TRUE(run.driver().runUntil([&] { return run.front() == run.main().game(); }));
    GameWindow& game = *run.main().game();
    EXPECT_TRUE(run.driver().runUntil([&] { return game.field()->state() == FieldState::Idle; }));
    return game;
}

// Everything cleared but three half-cleared cells of the middle row, two of
// them holding a flower; the third flower of that colour stands two rows down.
struct OneMoveLeft {
    GridPos row[3];
    GridPos third;
};

OneMoveLeft leaveOneMove(Field& field)
{
    field.clearAnnounced();
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            if (CellBack* back = field.cellBackAt(r, c))
                back->setType(CellType::Cleared);
            field.removeFlower(r, c);
        }
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

} // namespace

TEST(EndToEnd, ALevelIsWonWithTheKeyboardAlone)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    XKeyboard keys;
    if (!keys.available())
        GTEST_SKIP() << "no xdotool or no window of this process on the X server";
    GameWindow& game = startLevelOne(run);
    ScriptedDriver& driver = run.driver();
    // The pointer rests off the board, where nothing else moves.
    const Area spot{740, 540, 764, 564};
    driver.moveTo(100, 100);
    driver.runFrames(1);
    const std::vector<std::uint8_t> bare = pixelsOf(driver, spot);
    driver.moveTo(spot.x0, spot.y0);
    driver.runFrames(1);
    ASSERT_GT(differingPixels(driver, spot, bare), 40) << "the pointer is drawn";

    const OneMoveLeft board = leaveOneMove(*game.field());
    KeyboardGame play(run, game, keys);
    ASSERT_TRUE(play.walkTo(board.third));
    driver.runFrames(1);
    EXPECT_LT(differingPixels(driver, spot, bare), 10) << "the keyboard hides the pointer";
    ASSERT_TRUE(play.key("Return", [&] { return game.picker()->isCarrying(); }));
    ASSERT_TRUE(play.walkTo(board.row[2]));
    driver.runFrames(2);
    run.shot("keyboard_last_move");
    ASSERT_TRUE(play.key("space", [&] { return !game.picker()->isCarrying(); }));
    ASSERT_TRUE(driver.runUntil([&] { return game.field()->finished(); }));
    EXPECT_TRUE(game.field()->succeeded());
    ASSERT_TRUE(driver.runUntil([&] { return game.field()->resultsAlpha() >= 1.0f; }));
    run.shot("keyboard_level_won");
    ASSERT_TRUE(play.key("Return", [&] { return game.field() && game.field()->level() == 2; }));
    EXPECT_EQ(game.lives(), GameWindow::kStartLives);

    driver.moveTo(spot.x0, spot.y0);
    driver.runFrames(1);
    EXPECT_EQ(game.aim(), Aim::Pointer);
    EXPECT_GT(differingPixels(driver, spot, bare), 40) << "the mouse brings the pointer back";
}

TEST(EndToEnd, WhileTheKeysLeadTheSightSitsOnTheFlyingInsectAndXShootsIt)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    XKeyboard keys;
    if (!keys.available())
        GTEST_SKIP() << "no xdotool or no window of this process on the X server";
    GameWindow& game = startLevelOne(run);
    game.startLevel(6, 0);
    ScriptedDriver& driver = run.driver();
    ASSERT_TRUE(driver.runUntil([&] { return game.field()->state() == FieldState::Idle; }));
    KeyboardGame play(run, game, keys);
    ASSERT_TRUE(play.key("Up", [&] { return game.aim() == Aim::Cursor; }));

    driver.clock().advance(std::uint32_t(Field::insectInterval(6)));
    Field& field = *game.field();
    ASSERT_TRUE(driver.runUntil([&] {
        const Insect* insect = field.insect();
        return insect && field.insectActive() && insect->position().x > 100.0f &&
               insect->position().x < 700.0f && insect->position().y > 100.0f &&
               insect->position().y < 500.0f;
    }));
    run.shot("keyboard_insect_sight");
    const int score = field.score();
    ASSERT_TRUE(play.key("x", [&] { return field.insect()->hit(); }));
    EXPECT_EQ(field.score(), score + 1000);
    driver.runFrames(2);
    run.shot("keyboard_insect_shot");
}
