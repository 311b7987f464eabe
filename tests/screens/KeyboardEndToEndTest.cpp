#include "screens/GameRun.h"

#include "BoardKeys.h"
#include "board/Field.h"
#include "driver/BoardWaits.h"
#include "effects/Picker.h"
#include "game/GameWindow.h"
#include "screens/XKeyboard.h"

#include <gtest/gtest.h>

namespace {

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
        return walkCursorTo(m_game, cell, [&](CursorStep step) {
            const GridPos before = m_game.cursor().position();
            const bool shown = m_game.aim() == Aim::Cursor;
            return key(kArrows[int(step)], [&] {
                return m_game.aim() == Aim::Cursor &&
                       (!shown || m_game.cursor().position() != before);
            });
        });
    }

private:
    static constexpr const char* kArrows[] = {"Left", "Right", "Up", "Down"};

    GameRun& m_run;
    GameWindow& m_game;
    const XKeyboard& m_keys;
};

// The real window, played by keys typed on the X server.
class KeyboardEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_GAME(run);
        if (!keys.available())
            GTEST_SKIP() << "no xdotool or no window of this process on the X server";
    }

    GameFolder folder;
    GameRun run;
    XKeyboard keys;
};

} // namespace

TEST_F(KeyboardEndToEnd, ALevelIsWonWithTheKeyboardAlone)
{
    GameWindow& game = startLevel(run, 1);
    ScriptedDriver& driver = run.driver();
    // The pointer rests off the board, where nothing else moves.
    const PixelRect spot{740, 540, 764, 564};
    driver.moveTo(100, 100);
    driver.runFrames(1);
    const Screenshot bare = driver.screenshot();
    driver.moveTo(spot.x0, spot.y0);
    driver.runFrames(1);
    ASSERT_GT(changedPixels(driver, spot, bare), 40) << "the pointer is drawn";

    const OneMoveLeft board = leaveOneMove(*game.field());
    KeyboardGame play(run, game, keys);
    ASSERT_TRUE(play.walkTo(board.third));
    driver.runFrames(1);
    EXPECT_LT(changedPixels(driver, spot, bare), 10) << "the keyboard hides the pointer";
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
    EXPECT_GT(changedPixels(driver, spot, bare), 40) << "the mouse brings the pointer back";
}
