// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/MenuDragon.h"
#include "objects/GridSprite.h"
#include "objects/Texture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

MenuDragon dragonAt(float x, float y)
{
    MenuDragon dragon(std::make_unique<GridSprite>());
    dragon.setPosition(x, y);
    return dragon;
}

} // namespace

TEST(MenuDragon, StartsFlyingForThreeToTenSecondsAndTakesOffAgainNearThePointer)
{
    std::srand(3);
    for (int i = 0; i < 50; ++i) {
        MenuDragon dragon = dragonAt(0, 0);
        EXPECT_GE(dragon.flyTime(), 3000.0f);
        EXPECT_LT(dragon.flyTime(), 10000.0f);
        EXPECT_GE(dragon.restTime(), 1000.0f);
        EXPECT_LT(dragon.restTime(), 2000.0f);
        EXPECT_FALSE(dragon.isResting());
    }
    // A resting dragon takes off when the pointer comes within 32 pixels.
    MenuDragon dragon = dragonAt(100, 100);
    dragon.setFlyTime(0.0f);
    dragon.setRestTime(5000.0f);
    dragon.update(10.0f, 100.0f, 132.5f);
    EXPECT_TRUE(dragon.isResting());
    EXPECT_EQ(dragon.x(), 100.0f);
    dragon.update(10.0f, 100.0f, 132.0f);
    EXPECT_FALSE(dragon.isResting());
    EXPECT_GE(dragon.flyTime(), 2500.0f);
}

TEST(MenuDragon, FliesAlongItsHeadingZeroMeaningUpTheScreenWithinOneTurn)
{
    MenuDragon dragon = dragonAt(400, 300);
    dragon.setSpeed(1.5f);
    dragon.setTurn(0.0f);
    dragon.update(60.0f, -1000, -1000);
    EXPECT_NEAR(dragon.x(), 400.0f, 1e-3);
    EXPECT_NEAR(dragon.y(), 285.0f, 1e-3);
    dragon.setHeading(90.0f);
    dragon.update(6.0f, -1000, -1000);
    EXPECT_NEAR(dragon.x(), 401.5f, 1e-2);
    // The heading is kept within one turn.
    dragon.setHeading(359.9f);
    dragon.setTurn(1.0f);
    dragon.update(6.0f, -1000, -1000);
    EXPECT_NEAR(dragon.heading(), 0.9f, 1e-3);
    dragon.setHeading(-359.9f);
    dragon.setTurn(-1.0f);
    dragon.update(6.0f, -1000, -1000);
    EXPECT_NEAR(dragon.heading(), -0.9f, 1e-3);
}

TEST(DragonFlock, ADragonLeavingTheAreaComesBackFromBelowTheScreen)
{
    GridSprite sprite;
    DragonFlock flock(sprite, DragonColours::Random);
    ASSERT_EQ(flock.dragons().size(), 12u);
    for (const MenuDragon& dragon : flock.dragons()) {
        EXPECT_GE(dragon.y(), 600.0f);
        EXPECT_LT(dragon.y(), 700.0f);
        EXPECT_GE(dragon.speed(), 1.0f);
        EXPECT_LT(dragon.speed(), 2.0f);
    }
    MenuDragon& runaway = flock.dragons()[0];
    runaway.setPosition(851.0f, 300.0f);
    runaway.setSpeed(0.0f);
    flock.step(1.0f, -1000, -1000);
    EXPECT_EQ(runaway.y(), 650.0f);
    EXPECT_GE(runaway.x(), 0.0f);
    EXPECT_LT(runaway.x(), 800.0f);
}
