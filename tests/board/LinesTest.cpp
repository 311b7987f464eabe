// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "BoardBuilder.h"

namespace {
class Lines : public PlayingBoard<5> {
protected:
    void line(const std::vector<GridPos>& cells, int colour)
    {
        for (const GridPos& p : cells)
            idleFlower(*field, p.row, p.col, colour);
    }
    // Until every exploding flower has been removed.
    void settle() { runUpdates(*field, 30); }
};
} // namespace

TEST_F(Lines, ThreeInARowBurstOnEachAxis)
{
    const std::vector<std::vector<GridPos>> axes{
        {{2, 0}, {2, 1}, {2, 2}}, {{0, 0}, {1, 1}, {2, 2}}, {{4, 0}, {3, 1}, {2, 2}}};
    int expectedScore = 0;
    for (const auto& cells : axes) {
        line(cells, 1);
        events = {};
        field->update(16.0f);
        expectedScore += 36;
        EXPECT_EQ(field->score(), expectedScore);
        // The glass, then each flower's sparks and its points, row by row.
        EXPECT_EQ(events.order, "SBTBTBT");
        EXPECT_EQ(events.played, std::vector<BoardSound>{BoardSound::GlassBreaks});
        ASSERT_EQ(events.bursts.size(), 3u);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const GridPos& p = cells[i];
            EXPECT_EQ(field->flowerAt(p.row, p.col)->state(), FlowerState::Exploding);
            EXPECT_EQ(events.bursts[i].count, Flower::kExplosionParticles);
            EXPECT_EQ(events.texts[i].text, std::to_string(10 + 2 * int(i)));
        }
        settle();
        for (const GridPos& p : cells) {
            EXPECT_EQ(field->flowerAt(p.row, p.col), nullptr);
            EXPECT_NE(field->cellBackAt(p.row, p.col)->type(), CellType::Raw);
        }
    }
    EXPECT_EQ(field->statistics().m_statChains, 0);
}

TEST_F(Lines, TwoInARowAndGapsDoNotBurst)
{
    line({{2, 0}, {2, 1}, {2, 3}}, 1);
    field->update(16.0f);
    EXPECT_EQ(field->score(), 0);
}

TEST_F(Lines, RowOfWildcardsBurstsOnlyFromTheArrivingKind)
{
    line({{2, 0}, {2, 1}, {2, 2}}, kWildcard);
    field->update(16.0f);
    EXPECT_EQ(field->score(), 36);
    settle();
    auto other = makeField({.rows = 5, .width = 5});
    finishIntro(*other);
    for (int c = 0; c < 3; ++c)
        idleFlower(*other, 2, c, c == 1 ? kBlastFlower : kBombFlower);
    other->update(16.0f);
    EXPECT_EQ(other->score(), 0);
}

TEST_F(Lines, CrossingLinesCountTheSharedFlowerTwiceAndAsAChain)
{
    line({{2, 0}, {2, 1}, {2, 2}, {0, 0}, {1, 1}}, 4);
    field->update(16.0f);
    EXPECT_EQ(field->statistics().m_statBallsExploded, 6);
    EXPECT_EQ(field->score(), 10 + 12 + 14 + 16 + 18 + 20);
    EXPECT_EQ(field->statistics().m_statChains, 1);
}

TEST_F(Lines, LineOfFourLeavesColourBombFlowerWhereTheMovedOneWas)
{
    line({{2, 0}, {2, 1}, {2, 2}, {2, 3}}, 2);
    field->flowerAt(2, 1)->setMovedLast(true);
    field->update(16.0f);
    EXPECT_EQ(field->score(), 10 + 12 + 14 + 16);
    settle();
    ASSERT_NE(field->flowerAt(2, 1), nullptr);
    EXPECT_EQ(field->flowerAt(2, 1)->colour(), kBombFlower);
    EXPECT_EQ(field->flowerAt(2, 0), nullptr);
    EXPECT_EQ(field->cellBackAt(2, 1)->type(), CellType::HalfCleared);
}

TEST_F(Lines, LineOfFiveLeavesBlastFlower)
{
    line({{2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}}, 2);
    field->update(16.0f);
    EXPECT_EQ(field->score(), 70);
    settle();
    int blasts = 0;
    for (int c = 0; c < 5; ++c)
        if (const Flower* f = field->flowerAt(2, c))
            blasts += f->colour() == kBlastFlower;
    EXPECT_EQ(blasts, 1);
}

TEST_F(Lines, BombFlowerInALineSetsOffAColourBomb)
{
    line({{2, 0}, {2, 2}}, 3);
    idleFlower(*field, 2, 1, kBombFlower);
    idleFlower(*field, 0, 0, 3);
    idleFlower(*field, 4, 2, 3);
    field->update(16.0f);
    EXPECT_EQ(field->effectCount(), 1u);
    EXPECT_EQ(field->shake().queued(), 16u);
    runUpdates(*field, 200);
    EXPECT_EQ(field->effectCount(), 0u);
    EXPECT_EQ(field->flowerAt(0, 0), nullptr);
    EXPECT_EQ(field->flowerAt(4, 2), nullptr);
    EXPECT_EQ(field->score(), 36 + 200);
    EXPECT_EQ(events.count(BoardSound::Bowl), 1);
}

TEST_F(Lines, BlastFlowerInALineClearsCellsAround)
{
    auto big = makeField({.rows = 9, .width = 9});
    finishIntro(*big);
    idleFlower(*big, 4, 3, 1);
    idleFlower(*big, 4, 4, kBlastFlower);
    idleFlower(*big, 4, 5, 1);
    big->update(16.0f);
    EXPECT_EQ(big->effectCount(), 1u);
    runUpdates(*big, 120);
    EXPECT_EQ(big->effectCount(), 0u);
    for (int c = 0; c < big->rowLength(2); ++c)
        EXPECT_EQ(big->cellBackAt(2, c)->type(), CellType::Cleared) << c;
    EXPECT_GT(big->score(), 36 + 300 * 20);
}

TEST_F(Lines, AppearingFlowersJoinLinesOnlyWhenIdle)
{
    for (int c = 0; c < 3; ++c)
        field->placeFlower(2, c, 1);
    field->update(16.0f);
    EXPECT_EQ(field->score(), 0);
    runUpdates(*field, 20);
    EXPECT_EQ(field->score(), 36);
    EXPECT_EQ(field->streak(), 0);
}

TEST_F(Lines, WouldFormLineSeesTheColourTable)
{
    field->placeFlower(2, 0, 1);
    field->placeFlower(2, 1, 1);
    EXPECT_TRUE(field->wouldFormLine(2, 2, 1));
    EXPECT_FALSE(field->wouldFormLine(2, 2, kWildcard)); // a wildcard pairs only with wildcards
    EXPECT_FALSE(field->wouldFormLine(2, 2, 2));
    EXPECT_FALSE(field->wouldFormLine(2, 2, kBombFlower));
    EXPECT_FALSE(field->wouldFormLine(3, 0, 1));
}

TEST_F(Lines, FiveBurstingMovesInARowSetOffTheSmallBlast)
{
    auto big = makeField({.rows = 9, .width = 9});
    finishIntro(*big);
    for (int k = 0; k < 5; ++k) {
        const int row = 2 * k;
        idleFlower(*big, row, 0, k);
        idleFlower(*big, row, 1, k);
        idleFlower(*big, row, 4, k);
        ASSERT_TRUE(playMove(*big, {row, 4}, {row, 2})) << k;
        EXPECT_EQ(big->streak(), (k + 1) % 5) << k;
        EXPECT_EQ(big->effectCount(), k == 4 ? 1u : 0u) << k;
        runUpdates(*big, 40);
    }
}

TEST_F(Lines, QuietMoveResetsTheStreak)
{
    auto big = makeField({.rows = 9, .width = 9});
    finishIntro(*big);
    for (int k = 0; k < 2; ++k) {
        idleFlower(*big, 2 * k, 0, k);
        idleFlower(*big, 2 * k, 1, k);
        idleFlower(*big, 2 * k, 4, k);
        playMove(*big, {2 * k, 4}, {2 * k, 2});
        runUpdates(*big, 40);
    }
    EXPECT_EQ(big->streak(), 2);
    idleFlower(*big, 8, 0, 4);
    playMove(*big, {8, 0}, {8, 3});
    EXPECT_EQ(big->streak(), 0);
    EXPECT_EQ(big->state(), FieldState::Placing);
}

TEST_F(Lines, ScoreStopsAtTheLargestNumberInsteadOfTurningNegative)
{
    field->setScore(INT_MAX - 20);
    line({{2, 0}, {2, 1}, {2, 2}}, 1);
    field->update(16.0f);
    EXPECT_EQ(field->score(), INT_MAX);
    EXPECT_EQ(field->statistics().m_statScoreOnLevel, 36);
}

TEST_F(Lines, AwardTextsRiseAtSpeedsSpreadOverAQuarterToAHalf)
{
    std::set<float> speeds;
    for (int i = 0; i < 300; ++i) {
        field->award(10, field->cellCentre(2, 2));
        const float rise = events.texts.back().velocity.y;
        EXPECT_LE(rise, -0.25f);
        EXPECT_GT(rise, -0.5f);
        speeds.insert(rise);
    }
    EXPECT_GT(speeds.size(), 50u);
}
