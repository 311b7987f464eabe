// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "BoardBuilder.h"
#include "board/Blast.h"

using Moves = PlayingBoard<5>;

TEST_F(Moves, TargetOccupiedOrHoleIsRefused)
{
    auto holed = makeField({.rows = 3, .width = 3, .layout = "00 0000"});
    finishIntro(*holed);
    idleFlower(*holed, 0, 0, 1);
    idleFlower(*holed, 1, 1, 2);
    ASSERT_EQ(holed->selectAt(0, 0), 1);
    EXPECT_FALSE(holed->moveSelectedTo(1, 1));
    EXPECT_FALSE(holed->moveSelectedTo(1, 0));
    EXPECT_FALSE(holed->moveSelectedTo(9, 9));
    EXPECT_TRUE(holed->isSelectedAt(0, 0));
}

TEST_F(Moves, UnreachableTargetIsAcceptedButNothingMoves)
{
    // (0,0) walled in by its neighbours (0,1), (1,0), (1,1).
    idleFlower(*field, 0, 0, 1);
    idleFlower(*field, 0, 1, 2);
    idleFlower(*field, 1, 0, 3);
    idleFlower(*field, 1, 1, 4);
    ASSERT_EQ(field->selectAt(0, 0), 1);
    EXPECT_TRUE(field->moveSelectedTo(4, 2));
    EXPECT_NE(field->flowerAt(0, 0), nullptr);
    EXPECT_EQ(field->flowerAt(4, 2), nullptr);
    EXPECT_TRUE(field->isSelectedAt(0, 0));
}

TEST_F(Moves, AdjacentTargetGivesOneWaypoint)
{
    idleFlower(*field, 2, 0, 1);
    ASSERT_EQ(field->selectAt(2, 0), 1);
    ASSERT_TRUE(field->moveSelectedTo(2, 1));
    const Flower* f = field->flowerAt(2, 1);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(field->flowerAt(2, 0), nullptr); // the board holds it at the target at once
    EXPECT_TRUE(f->isMoving());
    EXPECT_TRUE(f->movedLast());
    EXPECT_FALSE(f->selected());
    ASSERT_EQ(f->waypoints().size(), 1u);
    EXPECT_FLOAT_EQ(f->waypoints().front().x, field->cellCentre(2, 1).x);
}

TEST_F(Moves, TravelTakesPointTwoSevenFiveUnitsPerMillisecond)
{
    idleFlower(*field, 2, 0, 1);
    field->selectAt(2, 0);
    field->moveSelectedTo(2, 1);
    const Flower* f = field->flowerAt(2, 1);
    field->update(60.0f);
    EXPECT_NEAR(f->position().x - field->cellCentre(2, 0).x, 16.5f, 0.01f);
    int updates = 1;
    while (f->isMoving() && updates < 100) {
        field->update(60.0f);
        ++updates;
    }
    EXPECT_EQ(updates, 4); // 40 units: 3 steps of 16.5 reach it, one more to notice
    EXPECT_TRUE(field->arrivedThisFrame());
}

TEST_F(Moves, TieBreakFollowsTheSearchOrder)
{
    idleFlower(*field, 2, 0, 1);
    idleFlower(*field, 2, 1, 2);
    std::vector<GridPos> path;
    ASSERT_TRUE(field->findPath(2, 0, 2, 2, path));
    // Row changes first: north-east of the middle row is (1, 0).
    const std::vector<GridPos> upper{{2, 0}, {1, 0}, {1, 1}, {2, 2}};
    EXPECT_EQ(path, upper);
}

TEST_F(Moves, PreviewedRouteWinsAmongShortestPaths)
{
    idleFlower(*field, 2, 0, 1);
    idleFlower(*field, 2, 1, 2);
    ASSERT_EQ(field->selectAt(2, 0), 1);
    field->previewPath(field->cellCentre(3, 1));
    const std::vector<GridPos> lowerStart{{2, 0}, {3, 0}, {3, 1}};
    EXPECT_EQ(field->trail(), lowerStart);
    field->previewPath(field->cellCentre(2, 2));
    const std::vector<GridPos> lower{{2, 0}, {3, 0}, {3, 1}, {2, 2}};
    EXPECT_EQ(field->trail(), lower);
    EXPECT_FLOAT_EQ(field->pathPointAt(3, 0)->fadeStep(), 0.04f);
    EXPECT_FLOAT_EQ(field->pathPointAt(1, 0)->fadeStep(), -0.04f);
    ASSERT_TRUE(field->moveSelectedTo(2, 2));
    const Flower* f = field->flowerAt(2, 2);
    ASSERT_EQ(f->waypoints().size(), 3u);
    EXPECT_FLOAT_EQ(f->waypoints()[0].y, field->cellCentre(3, 0).y);
}

TEST_F(Moves, PreviewOffTheBoardClearsTheTrail)
{
    idleFlower(*field, 2, 0, 1);
    field->selectAt(2, 0);
    field->previewPath(field->cellCentre(2, 3));
    EXPECT_FALSE(field->trail().empty());
    field->previewPath({700.0f, 20.0f, 0.0f, 1.0f});
    EXPECT_TRUE(field->trail().empty());
}

TEST_F(Moves, LockedFlowerCannotBeSelected)
{
    auto locked = makeField({.rows = 3, .width = 3, .layout = "4000000"});
    finishIntro(*locked);
    ASSERT_NE(locked->flowerAt(0, 0), nullptr); // a locked cell always starts with a flower
    runUpdates(*locked, 40);
    EXPECT_EQ(locked->selectAt(0, 0), kNoColour);
    ASSERT_FALSE(events.texts.empty());
    EXPECT_EQ(events.texts.back().text, "CELL LOCKED");
}

TEST_F(Moves, NoSelectionWhileAFlowerTravels)
{
    idleFlower(*field, 2, 0, 1);
    idleFlower(*field, 0, 0, 2);
    field->selectAt(2, 0);
    field->moveSelectedTo(2, 4);
    EXPECT_EQ(field->selectAt(0, 0), kNoColour);
    EXPECT_FALSE(field->isSelectedAt(0, 0));
}

TEST_F(Moves, NoSelectionDuringTheIntro)
{
    auto fresh = makeField({.rows = 5, .width = 5});
    idleFlower(*fresh, 2, 0, 1);
    EXPECT_EQ(fresh->state(), FieldState::Intro);
    EXPECT_EQ(fresh->selectAt(2, 0), kNoColour);
}

// A wildcard growing in beside the picked flower completes its row: the flower
// bursts, loses its selection, and a click a moment later moves nothing.
TEST_F(Moves, BurstingFlowerLosesItsSelectionAndStays)
{
    idleFlower(*field, 2, 0, 1);
    idleFlower(*field, 2, 1, 1);
    ASSERT_EQ(field->selectAt(2, 0), 1);
    field->placeFlower(2, 2, kWildcard);
    Flower* picked = field->flowerAt(2, 0);
    for (int i = 0; i < 100 && picked->isIdle(); ++i)
        field->update(16.0f);
    ASSERT_EQ(picked->state(), FlowerState::Exploding);
    EXPECT_FALSE(field->hasSelection());
    EXPECT_FALSE(field->moveSelectedTo(4, 2));
    picked->setSelected(true); // even a flag left set moves no bursting flower
    EXPECT_FALSE(field->moveSelectedTo(4, 2));
    EXPECT_EQ(field->flowerAt(2, 0), picked);
    EXPECT_EQ(field->flowerAt(4, 2), nullptr);
}

// The last row of a level bursts while another flower is picked: neither the
// results nor the click that dismisses them let it move.
TEST_F(Moves, NoMoveOnceTheLevelIsOver)
{
    auto last = makeField({.rows = 3, .width = 3, .newFlowers = 30, .layout = "2211122"});
    idleFlower(*last, 1, 0, 1);
    idleFlower(*last, 1, 1, 1);
    idleFlower(*last, 0, 0, 2);
    finishIntro(*last);
    ASSERT_FALSE(last->newCells().empty());
    ASSERT_EQ(last->selectAt(0, 0), 2);
    idleFlower(*last, 1, 2, 1);
    for (int i = 0; i < 200 && !last->finished(); ++i)
        last->update(16.0f);
    ASSERT_TRUE(last->succeeded());
    ASSERT_TRUE(last->isSelectedAt(0, 0));
    EXPECT_FALSE(last->moveSelectedTo(2, 0));
    last->onClick(400.0f, 300.0f);
    EXPECT_FALSE(last->hasSelection());
    EXPECT_FALSE(last->moveSelectedTo(2, 0));
    runUpdates(*last, 100);
    EXPECT_EQ(last->flowerAt(2, 0), nullptr);
    EXPECT_EQ(last->flowerAt(2, 1), nullptr) << "no new flowers on a won board";
    EXPECT_TRUE(last->isLevelOver());
}

TEST_F(Moves, NoMoveWhileABonusSweepsTheBoard)
{
    idleFlower(*field, 0, 0, 1);
    ASSERT_EQ(field->selectAt(0, 0), 1);
    field->addEffect(std::make_unique<Blast>(field->cellCentre(4, 2), *field, 45.0f));
    EXPECT_FALSE(field->moveSelectedTo(2, 2));
    EXPECT_NE(field->flowerAt(0, 0), nullptr);
}
