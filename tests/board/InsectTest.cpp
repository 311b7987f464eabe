// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "board/Insect.h"

namespace {
Insect at(float x, float y)
{
    Insect insect;
    insect.setPosition({x, y, 0, 1});
    return insect;
}
} // namespace

TEST(InsectHeading, PointsUpRightDownAndLeft)
{
    const Vec4 o{100, 100, 0, 1};
    EXPECT_NEAR(Insect::headingTowards(o, {100, 0, 0, 1}), 0.0f, 1e-3f);
    EXPECT_NEAR(Insect::headingTowards(o, {200, 100, 0, 1}), 90.0f, 1e-3f);
    EXPECT_NEAR(Insect::headingTowards(o, {100, 200, 0, 1}), 180.0f, 1e-3f);
    EXPECT_NEAR(Insect::headingTowards(o, {0, 100, 0, 1}), 270.0f, 1e-3f);
    EXPECT_FLOAT_EQ(Insect::foldAngle(270.0f, 0.0f), -90.0f);
    EXPECT_FLOAT_EQ(Insect::foldAngle(0.0f, 270.0f), 90.0f);
}

TEST(InsectTurning, TurnsTheShortWayBySixDegreesAndFliesWhenFacingTheTarget)
{
    Insect insect = at(100, 100);
    insect.setTarget({0, 100, 0, 1});
    EXPECT_EQ(insect.state(), InsectState::Turning);
    insect.update(30.0f);
    EXPECT_FLOAT_EQ(insect.heading(), -6.0f);
    EXPECT_EQ(insect.state(), InsectState::Turning);
    Insect nearly = at(100, 100);
    nearly.setHeading(84.0f);
    nearly.setTarget({300, 100, 0, 1});
    nearly.update(30.0f);
    EXPECT_FLOAT_EQ(nearly.heading(), 90.0f);
    EXPECT_EQ(nearly.state(), InsectState::Flying);
}

TEST(InsectFlight, FifteenUnitsPerThirtyMillisecondsThenWaitsOnTheTarget)
{
    Insect insect = at(100, 100);
    insect.setHeading(90.0f);
    insect.setTarget({140, 100, 0, 1});
    insect.update(30.0f); // turning done
    ASSERT_EQ(insect.state(), InsectState::Flying);
    insect.update(30.0f);
    EXPECT_FLOAT_EQ(insect.position().x, 115.0f);
    EXPECT_FLOAT_EQ(insect.direction().x, 1.0f);
    // At 130 the step just taken (15) covers the 10 left: it ends on the target.
    insect.update(30.0f);
    EXPECT_FLOAT_EQ(insect.position().x, 140.0f);
    EXPECT_EQ(insect.state(), InsectState::Waiting);
    EXPECT_FLOAT_EQ(insect.waitTime(), 1500.0f);
    for (int i = 0; i < 50; ++i)
        insect.update(30.0f);
    EXPECT_EQ(insect.state(), InsectState::Waiting) << "1500 ms are used up, not yet landed";
    insect.update(30.0f);
    EXPECT_EQ(insect.state(), InsectState::Landed);
    EXPECT_EQ(insect.landings(), 1);
}

TEST(InsectHits, FiftyTwoUnitsAwayMissesAndHitsCountInAnyState)
{
    Insect insect = at(100, 100);
    EXPECT_FALSE(insect.hitTest({152, 100, 0, 1}));
    EXPECT_FALSE(insect.hit());
    EXPECT_EQ(insect.state(), InsectState::Landed);
    EXPECT_TRUE(insect.hitTest({151.9f, 100, 0, 1}));
    EXPECT_TRUE(insect.hit());
}
