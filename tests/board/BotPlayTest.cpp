// SPDX-License-Identifier: GPL-3.0-or-later
// Whole levels played by the casual bot, here shooting every insect, through
// the real board, with the board's invariants checked after every update.
// Kept to a few levels and seeds so that it also runs under the sanitizers.
#include <gtest/gtest.h>

#include "Autoplayer.h"
#include "BoardBuilder.h"
#include "LevelDesign.h"

namespace {
struct Game {
    int level;
    unsigned seed;
};

class BotPlay : public ::testing::TestWithParam<Game> {
protected:
    EventLog events;
};
} // namespace

TEST_P(BotPlay, LevelPlaysToItsEndWithTheBoardSound)
{
    const Game game = GetParam();
    Field field(LevelDesign::make(game.level), game.level, true, game.seed, events);
    Autoplayer bot(game.seed, {.checkInvariants = true});
    const Autoplayer::Result result = bot.play(field);
    EXPECT_EQ(result.fault, "");
    EXPECT_TRUE(field.isLevelOver());
    EXPECT_GT(result.moves, 0);
    EXPECT_EQ(field.score(), field.statistics().m_statScoreOnLevel);
    // It shoots every insect, as an attentive player does: none locks a cell.
    EXPECT_EQ(events.count(BoardSound::Pop), 0)
        << events.count(BoardSound::TakeOff) << " insects came";
    if (field.succeeded()) {
        EXPECT_EQ(field.chainBonus(), field.statistics().m_statChains * 1250);
        EXPECT_GE(field.timeBonus(), 0);
    } else {
        EXPECT_EQ(field.timeBonus(), 0);
        EXPECT_EQ(field.chainBonus(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, BotPlay,
                         ::testing::Values(Game{1, 11}, Game{6, 12}, Game{12, 13}, Game{27, 14},
                                           Game{55, 15}, Game{83, 16}, Game{100, 17}),
                         [](const auto& info) {
                             return "Level" + std::to_string(info.param.level);
                         });
