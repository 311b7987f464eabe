// SPDX-License-Identifier: GPL-3.0-or-later
#include "effects/Picker.h"
#include "board/BoardBuilder.h"

#include <gtest/gtest.h>

namespace {

// A 5 x 5 hexagon of raw cells, its intro run, and a picker on it.
class PickerTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        field = makeField();
        finishIntro(*field);
        picker = std::make_unique<Picker>(*field, nullptr);
    }

    Vec4 at(int r, int c) const { return field->cellCentre(r, c); }
    void press(int r, int c) { picker->onLeftButtonDown(at(r, c).x, at(r, c).y); }
    void release(int r, int c) { picker->onLeftButtonUp(at(r, c).x, at(r, c).y); }
    void hover(int r, int c) { picker->update(at(r, c)); }
    void settle() { runUpdates(*field, 300); }

    std::unique_ptr<Field> field;
    std::unique_ptr<Picker> picker;
};

TEST_F(PickerTest, ClickAndClickCarriesThenMoves)
{
    idleFlower(*field, 2, 0, 1);
    press(2, 0);
    release(2, 0);
    EXPECT_TRUE(picker->isCarrying());
    EXPECT_TRUE(field->isSelectedAt(2, 0));
    hover(2, 4);
    EXPECT_FLOAT_EQ(picker->carriedPosition().x, at(2, 4).x);
    press(2, 4);
    EXPECT_FALSE(picker->isCarrying());
    EXPECT_EQ(events.played, (std::vector<BoardSound>{BoardSound::Select, BoardSound::Select}));
    settle();
    EXPECT_NE(field->flowerAt(2, 4), nullptr);
    EXPECT_EQ(field->flowerAt(2, 0), nullptr);
}

TEST_F(PickerTest, DragAndDropMoves)
{
    idleFlower(*field, 0, 0, 2);
    press(0, 0);
    hover(4, 2);
    release(4, 2);
    EXPECT_FALSE(picker->isCarrying());
    EXPECT_EQ(events.count(BoardSound::Select), 2);
    settle();
    ASSERT_NE(field->flowerAt(4, 2), nullptr);
    EXPECT_EQ(field->flowerAt(4, 2)->colour(), 2);
}

TEST_F(PickerTest, FailedMovesUnselectAndDrop)
{
    idleFlower(*field, 2, 0, 1);
    idleFlower(*field, 2, 1, 2);
    press(2, 0);
    press(2, 1);
    EXPECT_EQ(events.played.back(), BoardSound::Unselect);
    EXPECT_FALSE(picker->isCarrying());
    EXPECT_FALSE(field->isSelectedAt(2, 0));
    press(2, 0);
    picker->onLeftButtonDown(790.0f, 590.0f);
    EXPECT_EQ(events.played.back(), BoardSound::Unselect);
    EXPECT_FALSE(field->isSelectedAt(2, 0));
}

TEST_F(PickerTest, MoveToUnreachableCellIsAcceptedButFlowerStays)
{
    // Walls of flowers around the corner cell (0, 0).
    idleFlower(*field, 0, 1, 3);
    idleFlower(*field, 1, 0, 4);
    idleFlower(*field, 1, 1, 3);
    idleFlower(*field, 4, 2, 1);
    press(4, 2);
    ASSERT_TRUE(picker->isCarrying());
    press(0, 0);
    EXPECT_EQ(events.played.back(), BoardSound::Select);
    EXPECT_FALSE(picker->isCarrying());
    EXPECT_FALSE(field->isSelectedAt(4, 2));
    settle();
    EXPECT_NE(field->flowerAt(4, 2), nullptr);
    EXPECT_EQ(field->flowerAt(0, 0), nullptr);
}

TEST_F(PickerTest, PressesThatPickNothingBonkOnlyOnCells)
{
    press(2, 2);
    EXPECT_EQ(events.played, std::vector<BoardSound>{BoardSound::Bonk});
    field->cellBackAt(1, 1)->setType(CellType::Locked);
    idleFlower(*field, 1, 1, 0);
    press(1, 1);
    EXPECT_EQ(events.count(BoardSound::Bonk), 2);
    EXPECT_FALSE(picker->isCarrying());
    events.played.clear();
    picker->onLeftButtonDown(795.0f, 595.0f);
    picker->onLeftButtonDown(5.0f, 5.0f);
    EXPECT_TRUE(events.played.empty());
}

TEST_F(PickerTest, RightClickCancelsAndAlwaysUnselects)
{
    picker->onRightButtonDown(0.0f, 0.0f);
    EXPECT_EQ(events.played, std::vector<BoardSound>{BoardSound::Unselect});
    idleFlower(*field, 2, 2, 1);
    press(2, 2);
    hover(2, 4);
    picker->draw();
    EXPECT_FALSE(field->trail().empty());
    picker->onRightButtonDown(0.0f, 0.0f);
    EXPECT_FALSE(picker->isCarrying());
    EXPECT_FALSE(field->isSelectedAt(2, 2));
    EXPECT_TRUE(field->trail().empty());
}

TEST_F(PickerTest, CarriedFlowerThatBurstsIsDroppedAndTheNextClickMovesNothing)
{
    idleFlower(*field, 2, 0, 1);
    idleFlower(*field, 2, 1, 1);
    press(2, 0);
    release(2, 0);
    ASSERT_TRUE(picker->isCarrying());
    field->placeFlower(2, 2, kWildcard);
    const Flower* carried = field->flowerAt(2, 0);
    for (int i = 0; i < 100 && carried->isIdle(); ++i)
        field->update(16.0f);
    ASSERT_EQ(carried->state(), FlowerState::Exploding);
    events.played.clear();
    hover(4, 2);
    EXPECT_FALSE(picker->isCarrying());
    EXPECT_TRUE(events.played.empty());
    press(4, 2);
    EXPECT_EQ(field->flowerAt(2, 0), carried);
    EXPECT_EQ(field->flowerAt(4, 2), nullptr);
}

// Level 6 lets insects come; the board is run until one flies in.
class PickerInsectTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        BoardShape shape;
        shape.level = 6;
        shape.rows = 7;
        shape.width = 7;
        field = makeField(shape);
        finishIntro(*field);
        for (int c = 0; c < 7; c += 2)
            idleFlower(*field, 3, c, c % 3);
        picker = std::make_unique<Picker>(*field, nullptr);
    }

    bool waitForInsect()
    {
        for (int i = 0; i < 20000 && !field->insectActive(); ++i)
            field->update(16.0f);
        return field->insectActive();
    }

    std::unique_ptr<Field> field;
    std::unique_ptr<Picker> picker;
};

TEST_F(PickerInsectTest, ActiveInsectDropsTheCarriedFlowerSilentlyAndAPressFiresAShot)
{
    const Vec4 flower = field->cellCentre(3, 0);
    picker->onLeftButtonDown(flower.x, flower.y);
    ASSERT_TRUE(picker->isCarrying());
    // A selected flower keeps insects away; the board can lose the selection
    // under a carried copy (a blast takes the flower), and then one comes.
    field->deselectAll();
    ASSERT_TRUE(waitForInsect());
    events.played.clear();
    picker->update(flower);
    EXPECT_FALSE(picker->isCarrying());
    EXPECT_FALSE(field->isSelectedAt(3, 0));
    EXPECT_TRUE(events.played.empty());

    // A press while it flies fires a shot.
    events.sparks.clear();
    events.played.clear();
    picker->onLeftButtonDown(790.0f, 10.0f);
    EXPECT_EQ(events.played, std::vector<BoardSound>{BoardSound::Shot});
    EXPECT_EQ(events.sparks.size(), static_cast<std::size_t>(Picker::kShotParticles));
    for (const auto& spark : events.sparks)
        EXPECT_FLOAT_EQ(spark.size, 18.0f);
}

} // namespace
