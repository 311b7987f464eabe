// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelPlay.h"
#include "board/BoardBuilder.h"
#include "game/BoardRenderer.h"
#include "game/NewElementNotice.h"
#include "game/ResultsPanel.h"

#include <gtest/gtest.h>

namespace {

using PlayScreenTexts = BoardTest;

TEST_F(PlayScreenTexts, PanelShowsTheLevelsStatisticsInPlaceTheTimeSplitIntoHours)
{
    EXPECT_EQ(ResultsPanel::timeLine(342000), "Time on level : 0:05:42");
    EXPECT_EQ(ResultsPanel::timeLine(59999), "Time on level : 0:00:59");
    EXPECT_EQ(ResultsPanel::timeLine(0), "Time on level : 0:00:00");
    auto field = makeField();
    Field::Statistics stats;
    stats.m_statScoreOnLevel = 1234;
    stats.m_statBallsExploded = 57;
    stats.m_statTimeOnLevel = 3723000;
    stats.m_statTimeBonus = 88;
    stats.m_statChainBonus = 2500;
    field->setStatistics(stats);
    const auto lines = ResultsPanel::lines(*field);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, "Score on level : 1234");
    EXPECT_EQ(lines[1].text, "Balls exploded : 57");
    EXPECT_EQ(lines[2].text, "Time on level : 1:02:03");
    EXPECT_EQ(lines[3].text, "Time bonus : 88");
    EXPECT_EQ(lines[4].text, "Chain bonus : 2500");
    EXPECT_FLOAT_EQ(lines[0].x, 231.0f);
    EXPECT_FLOAT_EQ(lines[2].y, 370.0f);
    EXPECT_FLOAT_EQ(lines[4].x, 262.0f);
}

// A board brought to its end: won with every cell cleared, or lost full.
std::unique_ptr<Field> finishedField(int level, bool won)
{
    auto field = makeField({.rows = 3, .width = 3, .level = level});
    finishIntro(*field);
    if (won)
        LevelPlay::clearBoard(*field);
    else
        LevelPlay::fillBoard(*field);
    for (int i = 0; i < 3 && !field->finished(); ++i)
        field->update(30.0f);
    return field;
}

TEST_F(PlayScreenTexts, LostLevelTitleAndNoBonuses)
{
    auto field = finishedField(1, false);
    ASSERT_TRUE(field->finished());
    EXPECT_EQ(ResultsPanel::title(*field), "Level not completed!");
    const auto lines = ResultsPanel::lines(*field);
    EXPECT_EQ(lines[3].text, "Time bonus : 0");
    EXPECT_EQ(lines[4].text, "Chain bonus : 0");
}

TEST_F(PlayScreenTexts, PanelSaysWhatTheLevelsEndMeansForTheGame)
{
    auto lost = finishedField(4, false);
    ASSERT_TRUE(lost->finished());
    ASSERT_FALSE(lost->succeeded());
    EXPECT_EQ(ResultsPanel::outcome(*lost, 3), "Life lost! Lives left : 2");
    EXPECT_EQ(ResultsPanel::outcome(*lost, 1), "Life lost! Lives left : 0");
    EXPECT_EQ(ResultsPanel::outcome(*lost, 0), "Game over!");

    auto won = finishedField(4, true);
    ASSERT_TRUE(won->succeeded());
    EXPECT_EQ(ResultsPanel::outcome(*won, 0), "") << "an ordinary win needs no word";
    auto last = finishedField(100, true);
    ASSERT_TRUE(last->succeeded());
    EXPECT_EQ(ResultsPanel::outcome(*last, 2), "All levels completed!");
}

TEST_F(PlayScreenTexts, TheHudCountsTheCellsStillToClear)
{
    auto field = makeField({.rows = 3,
                            .width = 3,
                            .layout = "40"
                                      "012"
                                      "2."});
    EXPECT_EQ(BoardRenderer::cellsToClear(*field), 4) << "stone, raw and half-cleared";
    field->cellBackAt(0, 0)->setType(CellType::Cleared);
    EXPECT_EQ(BoardRenderer::cellsToClear(*field), 3);
}

TEST_F(PlayScreenTexts, ANewElementIsNamedOnceAGameOneBannerAtATime)
{
    auto field = makeField({.rows = 3,
                            .width = 3,
                            .layout = "40"
                                      "000"
                                      "00"});
    NewElementNotice notice;
    notice.check(*field);
    notice.update(16.0f);
    EXPECT_EQ(notice.text(), "") << "not while the board fades in";
    finishIntro(*field);
    idleFlower(*field, 1, 1, kWildcard);
    notice.check(*field);
    notice.update(16.0f);
    EXPECT_EQ(notice.text(), NewElementNotice::words(NewElementNotice::Element::StoneCells));
    notice.update(5000.0f);
    EXPECT_EQ(notice.text(), NewElementNotice::words(NewElementNotice::Element::Rainbow));
    notice.check(*field);
    notice.update(5000.0f);
    notice.update(16.0f);
    EXPECT_EQ(notice.text(), "") << "each element once";
}

// The streak gauge reads the explosions still needed, or a bang; an idle
// board blinks for two seconds every twenty.
TEST(HudTexts, StreakGaugeAndIdleBlink)
{
    EXPECT_EQ(BoardRenderer::streakText(0), "5");
    EXPECT_EQ(BoardRenderer::streakText(3), "2");
    EXPECT_EQ(BoardRenderer::streakText(4), "!");
    EXPECT_FALSE(BoardRenderer::blinkOn(0));
    EXPECT_FALSE(BoardRenderer::blinkOn(17999));
    EXPECT_TRUE(BoardRenderer::blinkOn(18000));
    EXPECT_TRUE(BoardRenderer::blinkOn(18200));
    EXPECT_FALSE(BoardRenderer::blinkOn(18201));
    EXPECT_TRUE(BoardRenderer::blinkOn(18400));
    EXPECT_FALSE(BoardRenderer::blinkOn(20000));
    EXPECT_TRUE(BoardRenderer::blinkOn(38000));
}

TEST_F(PlayScreenTexts, TrailPointsFollowTheLitPath)
{
    auto field = makeField();
    finishIntro(*field);
    EXPECT_TRUE(BoardRenderer::trailPoints(*field).empty());
    idleFlower(*field, 2, 0, 1);
    ASSERT_NE(field->selectAt(2, 0), kNoColour);
    field->previewPath(field->cellCentre(2, 3));
    ASSERT_EQ(field->trail().size(), 4u);
    EXPECT_TRUE(BoardRenderer::trailPoints(*field).empty()) << "nothing lit yet";
    runUpdates(*field, 30);
    field->previewPath(field->cellCentre(2, 3));
    const auto points = BoardRenderer::trailPoints(*field);
    // Both ends plus two points for each of the two inner cells.
    ASSERT_EQ(points.size(), 6u);
    const Vec4 first = field->cellCentre(2, 0);
    EXPECT_NEAR(points[0].x, first.x + 18.0f, 0.01f);
    EXPECT_NEAR(points[1].x, field->cellCentre(2, 1).x - 10.0f, 0.01f);
    EXPECT_NEAR(points[5].x, field->cellCentre(2, 3).x, 0.01f);
}

} // namespace
