// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "BoardBuilder.h"

namespace {
class Turn : public BoardTest {};

int flowersOnBoard(const Field& field)
{
    int n = 0;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            n += field.flowerAt(r, c) != nullptr;
    return n;
}

// Fills every cell with idle flowers in a pattern of colours that forms no line.
void fillWithoutLines(Field& field, GridPos except = {-1, -1})
{
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            if (!(GridPos{r, c} == except) && !field.flowerAt(r, c))
                idleFlower(field, r, c, (r * 3 + c) % 5 + (r % 2) * 5);
}
} // namespace

TEST_F(Turn, AnnouncesFlowersOnFreeCellsAndPlacesThemAfterAQuietMove)
{
    auto field = makeField({.rows = 5, .width = 5, .newFlowers = 12});
    ASSERT_EQ(field->newCells().size(), 2u); // trunc(19 / 100 * 12)
    std::set<std::pair<int, int>> announced;
    for (const auto& f : field->newCells()) {
        const GridPos p = field->cellUnder(f->position());
        EXPECT_EQ(field->flowerAt(p.row, p.col), nullptr);
        announced.insert({p.row, p.col});
    }
    std::vector<GridPos> free;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < field->rowLength(r); ++c)
            if (!announced.count({r, c}))
                free.push_back({r, c});
    // A flower on the board keeps the empty-board award out of this turn.
    idleFlower(*field, free[0].row, free[0].col, 0);
    finishIntro(*field);
    ASSERT_TRUE(playMove(*field, free[0], free[1]));
    EXPECT_EQ(field->state(), FieldState::Placing);
    EXPECT_TRUE(field->newCells().empty());
    EXPECT_EQ(flowersOnBoard(*field), 3);
    EXPECT_EQ(events.count(BoardSound::WaterDrop), 0);
    runUpdates(*field, 30);
    EXPECT_EQ(events.count(BoardSound::WaterDrop), 2);
    EXPECT_EQ(field->state(), FieldState::Idle);
    EXPECT_EQ(field->newCells().size(), 2u); // the next ones are announced
}

TEST_F(Turn, AnnouncedCellTakenByTheMovedFlowerSendsTheNewOneElsewhere)
{
    auto field = makeField({.rows = 5, .width = 5, .newFlowers = 6});
    ASSERT_EQ(field->newCells().size(), 1u);
    const GridPos taken = field->cellUnder(field->newCells()[0]->position());
    const GridPos from = taken.row == 0 ? GridPos{4, 0} : GridPos{0, 0};
    idleFlower(*field, from.row, from.col, 0);
    finishIntro(*field);
    ASSERT_TRUE(playMove(*field, from, taken));
    EXPECT_EQ(field->flowerAt(taken.row, taken.col)->colour(), 0);
    EXPECT_EQ(flowersOnBoard(*field), 2);
    EXPECT_TRUE(field->newCells().empty());
}

TEST_F(Turn, AnnouncedFlowersBeyondTheFreeCellsAreDropped)
{
    auto field = makeField({.rows = 3, .width = 3, .colours = 10});
    finishIntro(*field);
    fillWithoutLines(*field, {1, 1});
    field->clearAnnounced();
    field->addAnnounced(field->cellCentre(0, 0), 7);
    field->addAnnounced(field->cellCentre(0, 1), 8);
    field->addAnnounced(field->cellCentre(2, 0), 9);
    field->placeNewFlowers();
    EXPECT_TRUE(field->newCells().empty());
    EXPECT_EQ(flowersOnBoard(*field), 7);
}

TEST_F(Turn, ClearedLayoutIsWonOnTheFirstIdleUpdateWithNoTimeBonus)
{
    auto field = makeField({.rows = 5, .width = 5, .cell = '2'});
    finishIntro(*field);
    EXPECT_TRUE(field->finished());
    EXPECT_TRUE(field->succeeded());
    EXPECT_EQ(field->statistics().m_statTimeOnLevel, 0);
    EXPECT_EQ(field->timeBonus(), 0);
}

TEST_F(Turn, WinningComputesTimeAndChainBonuses)
{
    auto field = makeField({.rows = 3, .width = 3, .layout = "2211122"});
    finishIntro(*field);
    runUpdates(*field, 10);
    field->setScore(1000);
    for (int c = 0; c < 3; ++c)
        idleFlower(*field, 1, c, 0);
    runUpdates(*field, 30);
    ASSERT_TRUE(field->succeeded());
    const int time = field->statistics().m_statTimeOnLevel;
    EXPECT_GT(time, 160);
    EXPECT_EQ(field->timeBonus(), static_cast<int>(1036.0 / time * 20000.0));
    EXPECT_EQ(field->chainBonus(), 0);
    runUpdates(*field, 100);
    EXPECT_FALSE(field->isLevelOver()); // the results wait for a click, even on an empty board
    field->onClick(0.0f, 0.0f);
    runUpdates(*field, 100);
    EXPECT_TRUE(field->isLevelOver());
}

TEST_F(Turn, FullBoardIsLostWithoutBonusesAndTheExitSweepFollowsAClick)
{
    auto field = makeField({.rows = 5, .width = 5, .colours = 10});
    finishIntro(*field);
    fillWithoutLines(*field);
    field->update(16.0f);
    EXPECT_TRUE(field->finished());
    EXPECT_FALSE(field->succeeded());
    EXPECT_EQ(field->state(), FieldState::Finished);
    EXPECT_EQ(field->timeBonus(), 0);
    EXPECT_EQ(field->chainBonus(), 0);
    runUpdates(*field, 40);
    EXPECT_FLOAT_EQ(field->resultsAlpha(), 1.0f);
    EXPECT_FALSE(field->isLevelOver());
    events = {};
    field->onClick(400.0f, 300.0f);
    EXPECT_TRUE(field->exitStarted());
    // Each flower bursts with its sparks only once its delay has run out.
    EXPECT_TRUE(events.bursts.empty());
    for (int i = 0; i < 500 && !field->isLevelOver(); ++i)
        field->update(16.0f);
    EXPECT_TRUE(field->isLevelOver());
    EXPECT_EQ(int(events.bursts.size()), field->cellCount());
    EXPECT_FLOAT_EQ(field->resultsAlpha(), 0.0f);
    EXPECT_FLOAT_EQ(field->cellBackAt(2, 2)->opacity(), 0.0f);
}

TEST_F(Turn, BoardClearAwardOnAnEmptyBoardOrWhenOnlyLockedFlowersAreLeft)
{
    auto locked = makeField({.rows = 3, .width = 3, .newFlowers = 30, .layout = "4000000"});
    finishIntro(*locked);
    // The intro's last update finds only the locked flower: the award and a new batch.
    EXPECT_EQ(locked->score(), 25000);
    EXPECT_EQ(locked->state(), FieldState::Placing);
    EXPECT_EQ(flowersOnBoard(*locked), 3);
    auto empty = makeField({.rows = 3, .width = 3, .newFlowers = 30});
    finishIntro(*empty);
    EXPECT_EQ(empty->score(), 25000);
    EXPECT_EQ(empty->statistics().m_statBallsExploded, 1);
}

// Only flowers on locked cells touch the one free cell (0, 0): nothing can move.
std::unique_ptr<Field> walledInBoard(int newFlowers)
{
    std::string layout(19, '0');
    layout[1] = layout[3] = layout[4] = '4';
    auto field = makeField(
        {.rows = 5, .width = 5, .colours = 10, .newFlowers = newFlowers, .layout = layout});
    for (GridPos p : {GridPos{0, 1}, GridPos{1, 0}, GridPos{1, 1}})
        field->removeFlower(p.row, p.col);
    fillWithoutLines(*field, {0, 0});
    return field;
}

TEST_F(Turn, BoardOnWhichNothingCanMoveEndsTheTurnAfterAPause)
{
    auto field = walledInBoard(12);
    ASSERT_EQ(field->newCells().size(), 2u);
    finishIntro(*field);
    ASSERT_FALSE(field->anyMovePossible());
    runUpdates(*field, static_cast<int>(Field::kStallPause / 16.0f) - 2);
    EXPECT_EQ(field->state(), FieldState::Idle) << "the player first sees the stuck board";
    EXPECT_EQ(field->flowerAt(0, 0), nullptr);
    runUpdates(*field, 3);
    EXPECT_EQ(field->state(), FieldState::Placing);
    EXPECT_NE(field->flowerAt(0, 0), nullptr);
    EXPECT_TRUE(field->newCells().empty());
}

TEST_F(Turn, BoardThatCanNeverChangeAgainIsLost)
{
    auto walled = walledInBoard(0);
    auto empty = makeField({.rows = 3, .width = 3});
    for (Field* field : {walled.get(), empty.get()}) {
        finishIntro(*field);
        ASSERT_TRUE(field->newCells().empty());
        EXPECT_FALSE(field->finished());
        runUpdates(*field, static_cast<int>(Field::kStallPause / 16.0f) + 2);
        EXPECT_TRUE(field->finished());
        EXPECT_FALSE(field->succeeded());
        EXPECT_EQ(field->score(), 0);
    }
}

TEST_F(Turn, InitialFillAvoidsLinesAndServesLockedCellsFirst)
{
    std::string layout(61, '0');
    for (int i = 0; i < 61; i += 3)
        layout[static_cast<std::size_t>(i)] = '4';
    auto field = makeField({.rows = 9, .width = 9, .colours = 3, .fill = 10, .layout = layout});
    int locked = 0;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < field->rowLength(r); ++c)
            if (field->cellBackAt(r, c)->type() == CellType::Locked) {
                ++locked;
                EXPECT_NE(field->flowerAt(r, c), nullptr);
            }
    EXPECT_EQ(flowersOnBoard(*field), locked); // 6 by the fill, raised to 21
    EXPECT_EQ(field->state(), FieldState::Intro);
}

TEST_F(Turn, SameSeedGivesTheSameBoard)
{
    auto a = makeField({.rows = 9, .width = 9, .fill = 40, .newFlowers = 5, .seed = 77});
    auto b = makeField({.rows = 9, .width = 9, .fill = 40, .newFlowers = 5, .seed = 77});
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < a->rowLength(r); ++c)
            EXPECT_EQ(a->colourAt(r, c), b->colourAt(r, c));
}

TEST_F(Turn, PreviewGameDrawsColoursWithoutTheLineTest)
{
    // With one colour every second flower would complete a line in a real game.
    auto preview = makeField({.rows = 9, .width = 9, .colours = 1, .fill = 80, .realGame = false});
    EXPECT_EQ(flowersOnBoard(*preview), 48);
}

namespace {
// A quiet board with one flower for the insects to aim at.
std::unique_ptr<Field> insectBoard(int level, FieldListener& events)
{
    auto field = makeField({.rows = 5, .width = 5, .level = level}, events);
    idleFlower(*field, 2, 2, 1);
    idleFlower(*field, 0, 0, 2);
    return field;
}

int updatesUntilInsect(Field& field, int limit)
{
    for (int i = 1; i <= limit; ++i) {
        field.update(100.0f);
        if (field.insect())
            return i;
    }
    return -1;
}
} // namespace

TEST_F(Turn, InsectsComeFromLevelSixAtTheLevelsInterval)
{
    auto quiet = insectBoard(5, events);
    EXPECT_EQ(updatesUntilInsect(*quiet, 1500), -1);
    EXPECT_EQ(updatesUntilInsect(*insectBoard(6, events), 1500), 900);
    EXPECT_EQ(updatesUntilInsect(*insectBoard(19, events), 1500), 900);
    EXPECT_EQ(updatesUntilInsect(*insectBoard(20, events), 1500), 600);
    EXPECT_EQ(updatesUntilInsect(*insectBoard(59, events), 1500), 600);
    EXPECT_EQ(updatesUntilInsect(*insectBoard(60, events), 1500), 450);
    EXPECT_EQ(events.count(BoardSound::TakeOff), 5);
}

TEST_F(Turn, NoInsectWhileTheBoardIsBusy)
{
    auto field = insectBoard(6, events);
    finishIntro(*field);
    field->selectAt(2, 2);
    EXPECT_EQ(updatesUntilInsect(*field, 1000), -1);
    field->deselectAll();
    EXPECT_EQ(updatesUntilInsect(*field, 2), 1);
}

TEST_F(Turn, LandedInsectLocksTheCellAndLeaves)
{
    auto field = insectBoard(60, events);
    ASSERT_GT(updatesUntilInsect(*field, 500), 0);
    EXPECT_TRUE(field->insectActive());
    EXPECT_EQ(field->selectAt(2, 2), kNoColour);
    const GridPos aim = field->cellUnder(field->insect()->target());
    for (int i = 0; i < 300 && field->insect(); ++i)
        field->update(100.0f);
    EXPECT_EQ(field->insect(), nullptr);
    EXPECT_EQ(field->cellBackAt(aim.row, aim.col)->type(), CellType::Locked);
    EXPECT_EQ(events.count(BoardSound::Pop), 1);
    EXPECT_FLOAT_EQ(field->insectTimer(), 45000.0f);
}

TEST_F(Turn, CaughtInsectScoresAndSavesTheFlowerAndAMissLeavesIt)
{
    auto field = insectBoard(60, events);
    ASSERT_GT(updatesUntilInsect(*field, 500), 0);
    const Vec4 from = field->insect()->position();
    field->onClick(from.x + 52.0f, from.y);
    EXPECT_FALSE(field->insect()->hit());
    EXPECT_EQ(field->score(), 0);
    for (int i = 0; i < 5; ++i)
        field->update(100.0f);
    const Vec4 at = field->insect()->position();
    field->onClick(at.x + 51.0f, at.y);
    EXPECT_TRUE(field->insect()->hit());
    EXPECT_EQ(field->score(), 1000);
    EXPECT_FALSE(field->insectActive() && field->insect()->state() != InsectState::Turning);
    for (int i = 0; i < 300 && field->insect(); ++i)
        field->update(100.0f);
    EXPECT_EQ(field->insect(), nullptr);
    EXPECT_NE(field->cellBackAt(2, 2)->type(), CellType::Locked);
    EXPECT_NE(field->cellBackAt(0, 0)->type(), CellType::Locked);
    EXPECT_EQ(events.count(BoardSound::Pop), 0);
}
