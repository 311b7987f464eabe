// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "BoardBuilder.h"
#include "board/Blast.h"
#include "board/BoardShake.h"
#include "board/ColourBomb.h"

using Effects = PlayingBoard<9>;

TEST_F(Effects, BlastRaysLiveRadiusOverStepUpdatesAndRadiusZeroEndsAtOnce)
{
    Blast still({200, 300, 0, 1}, *field, 0.0f);
    EXPECT_EQ(still.rays().size(), 72u);
    EXPECT_TRUE(still.update(16.0f));
    EXPECT_EQ(events.count(BoardSound::Bowl), 1);
    Blast blast({200, 300, 0, 1}, *field, 45.0f);
    int updates = 1;
    while (!blast.update(16.0f))
        ++updates;
    EXPECT_EQ(updates, 26);
    EXPECT_EQ(events.count(BoardSound::Bowl), 2);
}

TEST_F(Effects, BlastBurstsIdleFlowersAndClearsCells)
{
    idleFlower(*field, 4, 4, 1);
    idleFlower(*field, 4, 5, 2);
    Flower& moving = idleFlower(*field, 3, 4, 3);
    moving.setWaypoints({field->cellCentre(3, 4)});
    Blast blast(field->cellCentre(4, 4), *field, 45.0f);
    while (!blast.update(16.0f)) {
    }
    ASSERT_FALSE(events.played.empty());
    EXPECT_EQ(events.played.front(), BoardSound::Bowl);
    // Every ray step leaves a still spark; a burst flower shows its points,
    // its sparks and the glass, a cleared cell its points and a smaller burst.
    EXPECT_FALSE(events.sparks.empty());
    for (const auto& spark : events.sparks) {
        EXPECT_FLOAT_EQ(spark.size, 16.0f);
        EXPECT_FLOAT_EQ(length(spark.velocity), 0.0f);
    }
    std::string order = events.order;
    std::erase(order, 'P');
    int flowers = 0;
    int cells = 0;
    for (std::size_t i = 1; i < order.size(); i += order.compare(i, 3, "TBS") == 0 ? 3 : 2) {
        if (order.compare(i, 3, "TBS") == 0)
            ++flowers;
        else if (order.compare(i, 2, "TB") == 0)
            ++cells;
        else
            ADD_FAILURE() << "unexpected events " << order.substr(i);
    }
    EXPECT_EQ(flowers, 2);
    EXPECT_EQ(field->score(), 100 * flowers + 300 * cells);
    EXPECT_EQ(int(events.bursts.size()), flowers + cells);
    EXPECT_EQ(field->flowerAt(4, 4)->state(), FlowerState::Exploding);
    EXPECT_EQ(field->flowerAt(4, 5)->state(), FlowerState::Exploding);
    EXPECT_EQ(field->flowerAt(3, 4)->state(), FlowerState::Moving);
    EXPECT_EQ(field->cellBackAt(4, 4)->type(), CellType::Cleared);
    EXPECT_EQ(field->cellBackAt(4, 5)->type(), CellType::Cleared);
    EXPECT_EQ(field->cellBackAt(2, 2)->type(), CellType::Raw);
    // The glass sound is never restarted by a blast.
    for (std::size_t i = 0; i < events.played.size(); ++i) {
        if (events.played[i] == BoardSound::GlassBreaks) {
            EXPECT_EQ(events.restarts[i], SoundRestart::UnlessPlaying);
        }
    }
    EXPECT_EQ(field->score() % 100, 0);
    EXPECT_GE(field->score(), 200 + 300 * 7);
}

TEST_F(Effects, ColourBombForAnAbsentColourEndsAtOnce)
{
    idleFlower(*field, 4, 4, 1);
    ColourBomb bomb(3, {200, 300, 0, 1}, *field);
    EXPECT_TRUE(bomb.darts().empty());
    EXPECT_TRUE(bomb.update(16.0f));
    EXPECT_EQ(events.count(BoardSound::Bowl), 1);
}

TEST_F(Effects, ColourBombDartMissesAFlowerThatStartedMoving)
{
    idleFlower(*field, 0, 0, 2);
    Flower& runner = idleFlower(*field, 8, 4, 2);
    idleFlower(*field, 4, 8, 1);
    ColourBomb bomb(2, field->cellCentre(4, 4), *field);
    EXPECT_EQ(bomb.darts().size(), 2u);
    runner.setWaypoints({field->cellCentre(8, 3)});
    int updates = 0;
    while (!bomb.update(16.0f) && updates < 1000)
        ++updates;
    EXPECT_EQ(field->flowerAt(0, 0)->state(), FlowerState::Exploding);
    EXPECT_EQ(runner.state(), FlowerState::Moving);
    EXPECT_EQ(field->flowerAt(4, 8)->state(), FlowerState::Idle);
    EXPECT_EQ(field->score(), 100);
    // Each dart step leaves a still spark; the struck flower shows its points,
    // its sparks and the glass, after the bowl that starts the bomb.
    EXPECT_FALSE(events.sparks.empty());
    for (const auto& spark : events.sparks)
        EXPECT_FLOAT_EQ(spark.size, 16.0f);
    std::string order = events.order;
    std::erase(order, 'P');
    EXPECT_EQ(order, "STBS");
    EXPECT_EQ(events.played, (std::vector<BoardSound>{BoardSound::Bowl, BoardSound::GlassBreaks}));
}

TEST(Shake, OffsetsComeInOppositePairsAndTopUp)
{
    BoardShake shake;
    shake.shake(8);
    EXPECT_EQ(shake.queued(), 8u);
    const Vec4 first = shake.offset();
    EXPECT_GE(first.x, -2.0f);
    EXPECT_LE(first.x, 1.0f);
    shake.update(); // the first offset lasts one update
    EXPECT_FLOAT_EQ(shake.offset().x, -first.x);
    EXPECT_FLOAT_EQ(shake.offset().y, -first.y);
    shake.update();
    shake.update();
    EXPECT_EQ(shake.queued(), 7u); // later ones last three
    shake.update();
    EXPECT_EQ(shake.queued(), 6u);
    BoardShake topped;
    topped.shake(3);
    topped.shake(16);
    EXPECT_EQ(topped.queued(), 16u);
    for (int i = 0; i < 100; ++i)
        topped.update();
    EXPECT_EQ(topped.queued(), 0u);
    EXPECT_FLOAT_EQ(topped.offset().x, 0.0f);
}

TEST(PathMarker, FadesWithinZeroAndOne)
{
    PathPoint p({0, 0, 0, 1});
    EXPECT_FLOAT_EQ(p.fadeStep(), -0.01f);
    p.update();
    EXPECT_FLOAT_EQ(p.opacity(), 0.0f);
    p.setFadeStep(0.04f);
    for (int i = 0; i < 30; ++i)
        p.update();
    EXPECT_FLOAT_EQ(p.opacity(), 1.0f);
}
