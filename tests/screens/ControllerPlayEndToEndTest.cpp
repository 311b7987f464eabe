#include "screens/GameRun.h"

#include "BoardKeys.h"
#include "board/Field.h"
#include "effects/Picker.h"
#include "game/GameWindow.h"
#include "platform/VirtualController.h"
#include "ui/KeyboardFocus.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

ControllerButton padDirection(CursorStep step)
{
    switch (step) {
    case CursorStep::Left:
        return ControllerButton::Left;
    case CursorStep::Right:
        return ControllerButton::Right;
    case CursorStep::Up:
        return ControllerButton::Up;
    case CursorStep::Down:
        break;
    }
    return ControllerButton::Down;
}

class Pad {
public:
    explicit Pad(ScriptedDriver& driver) : m_driver(driver) {}

    bool attached() const { return m_pad.isAttached(); }
    // Down until the game has seen it, then up again.
    template <typename Done> bool tap(ControllerButton button, Done done)
    {
        m_pad.setButton(button, true);
        const bool seen = m_driver.runUntil(done, 600);
        m_pad.setButton(button, false);
        m_driver.runFrames(2);
        return seen;
    }

private:
    ScriptedDriver& m_driver;
    VirtualController m_pad;
};

} // namespace

TEST(ControllerEndToEnd, TheControllerPlaysTheWinningMoveAndStartLeavesTheBoard)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    KeyboardFocus::setShown(false);
    Pad pad(run.driver());
    if (!pad.attached())
        GTEST_SKIP() << "the library cannot make a virtual controller";
    ScriptedDriver& driver = run.driver();
    ASSERT_TRUE(driver.runUntil([&] { return run.app().input().joystickPresent(); }));
    GameWindow& game = startLevel(run, 1);
    const OneMoveLeft board = leaveOneMove(*game.field());
    auto step = [&](CursorStep way) {
        const GridPos before = game.cursor().position();
        const bool shown = game.aim() == Aim::Cursor;
        return pad.tap(padDirection(way), [&] {
            return game.aim() == Aim::Cursor && (!shown || game.cursor().position() != before);
        });
    };

    ASSERT_TRUE(walkCursorTo(game, board.third, step));
    ASSERT_TRUE(pad.tap(ControllerButton::A, [&] { return game.picker()->isCarrying(); }));
    ASSERT_TRUE(walkCursorTo(game, board.row[2], step));
    ASSERT_TRUE(pad.tap(ControllerButton::A, [&] { return !game.picker()->isCarrying(); }));
    ASSERT_TRUE(driver.runUntil([&] { return game.field()->finished(); }));
    EXPECT_TRUE(game.field()->succeeded());
    ASSERT_TRUE(driver.runUntil([&] { return game.field()->resultsAlpha() >= 1.0f; }));
    ASSERT_TRUE(pad.tap(ControllerButton::A, [&] { return game.field()->level() == 2; }));
    ASSERT_TRUE(driver.runUntil([&] { return game.field()->state() == FieldState::Idle; }));

    // B puts a picked flower back; Start leaves even while one is carried.
    GridPos flower{-1, -1};
    for (int r = 0; r < game.field()->rows() && flower.row < 0; ++r)
        for (int c = 0; c < game.field()->rowLength(r) && flower.row < 0; ++c)
            if (const Flower* f = game.field()->flowerAt(r, c); f && f->isIdle() &&
                game.field()->cellBackAt(r, c)->type() != CellType::Locked)
                flower = {r, c};
    ASSERT_GE(flower.row, 0);
    ASSERT_TRUE(walkCursorTo(game, flower, step));
    ASSERT_TRUE(pad.tap(ControllerButton::A, [&] { return game.picker()->isCarrying(); }));
    ASSERT_TRUE(pad.tap(ControllerButton::B, [&] { return !game.picker()->isCarrying(); }));
    EXPECT_EQ(run.front(), &game);
    ASSERT_TRUE(pad.tap(ControllerButton::A, [&] { return game.picker()->isCarrying(); }));
    ASSERT_TRUE(pad.tap(ControllerButton::Start, [&] { return run.front() == &run.main(); }));
    EXPECT_FALSE(game.picker()->isCarrying());
    EXPECT_FALSE(game.field()->hasSelection());
}

TEST(ControllerEndToEnd, YShootsTheFlyingInsect)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    Pad pad(run.driver());
    if (!pad.attached())
        GTEST_SKIP() << "the library cannot make a virtual controller";
    ScriptedDriver& driver = run.driver();
    GameWindow& game = startLevel(run, 6);
    Field& field = *game.field();
    driver.clock().advance(std::uint32_t(Field::insectInterval(6)));
    ASSERT_TRUE(driver.runUntil([&] {
        const Insect* insect = field.insect();
        return insect && field.insectActive() && insect->position().x > 100.0f &&
               insect->position().x < 700.0f && insect->position().y > 100.0f &&
               insect->position().y < 500.0f;
    }));
    const int score = field.score();
    ASSERT_TRUE(pad.tap(ControllerButton::Y, [&] { return field.insect()->hit(); }));
    EXPECT_EQ(field.score(), score + 1000);
}
