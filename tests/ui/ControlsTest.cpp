// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/TrackBar.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

class ButtonTest : public ::testing::Test {
protected:
    std::unique_ptr<Texture> texture = makeTexture(100, 40); // four frames of 10
    OwnerWindow owner;
    Button button{owner, texture.get()};
    void SetUp() override { button.setPosition(50.0f, 20.0f, 0.0f); }
};

TEST_F(ButtonTest, ActsOnThePressAtOnce)
{
    EXPECT_TRUE(button.onLeftButtonDown(60, 25, 0));
    ASSERT_EQ(owner.used.size(), 1u);
    EXPECT_EQ(owner.used[0], &button);
    EXPECT_EQ(button.state(), ButtonState::Pressed);
    EXPECT_TRUE(button.onLeftButtonUp(60, 25, 0));
    EXPECT_EQ(button.state(), ButtonState::Hover);
    EXPECT_EQ(owner.used.size(), 1u);
}

TEST_F(ButtonTest, HitTestIncludesTheTruncatedEdges)
{
    EXPECT_TRUE(button.onMouseMove(50, 20, 0));
    EXPECT_TRUE(button.onMouseMove(150, 30, 0));
    EXPECT_FALSE(button.onMouseMove(151, 30, 0));
    EXPECT_FALSE(button.onMouseMove(49, 25, 0));
    EXPECT_FALSE(button.onLeftButtonDown(100, 31, 0));
    EXPECT_TRUE(owner.used.empty());
}

TEST_F(ButtonTest, APressDraggedOffEndsAtRestAfterTheNextMoveAsActivatingTheOwnerDoes)
{
    button.onLeftButtonDown(60, 25, 0);
    EXPECT_FALSE(button.onMouseMove(300, 300, 0));
    EXPECT_EQ(button.state(), ButtonState::Normal);
    EXPECT_FALSE(button.onLeftButtonUp(300, 300, 0));
    EXPECT_EQ(button.state(), ButtonState::Normal);
    owner.addControl(button);
    button.onMouseMove(60, 25, 0);
    owner.activate();
    EXPECT_EQ(button.state(), ButtonState::Normal);
}

TEST_F(ButtonTest, ADisabledButtonIgnoresTheMouse)
{
    button.setEnabled(false);
    EXPECT_FALSE(button.onMouseMove(60, 25, 0));
    EXPECT_FALSE(button.onLeftButtonDown(60, 25, 0));
    EXPECT_TRUE(owner.used.empty());
    EXPECT_EQ(button.state(), ButtonState::Normal);
}

class CheckBoxTest : public ::testing::Test {
protected:
    std::unique_ptr<Texture> texture = makeTexture(20, 80);
    OwnerWindow owner;
    CheckBox box{owner, texture.get()};
};

TEST_F(CheckBoxTest, TogglesOnlyUnderTheMouseAndTellsTheOwnerEachTime)
{
    EXPECT_FALSE(box.onLeftButtonDown(205, 45, 0)) << "the mouse is not over it yet";
    EXPECT_FALSE(box.isChecked());
    EXPECT_TRUE(owner.used.empty());
    EXPECT_TRUE(box.onMouseMove(205, 45, 0));
    EXPECT_EQ(box.state(), CheckBoxState::UncheckedHover);
    EXPECT_TRUE(box.onLeftButtonDown(205, 45, 0));
    EXPECT_EQ(box.state(), CheckBoxState::CheckedHover);
    EXPECT_TRUE(box.isChecked());
    EXPECT_TRUE(box.onLeftButtonDown(205, 45, 0));
    EXPECT_FALSE(box.isChecked());
    EXPECT_EQ(owner.used.size(), 2u);
    EXPECT_FALSE(box.onLeftButtonUp(205, 45, 0));
    EXPECT_FALSE(box.onRightButtonUp(205, 45, 0));
}

TEST_F(CheckBoxTest, LeavingItReturnsToTheRestStateOfItsMark)
{
    box.setChecked(true);
    box.onMouseMove(205, 45, 0);
    EXPECT_EQ(box.state(), CheckBoxState::CheckedHover);
    EXPECT_FALSE(box.onMouseMove(0, 0, 0));
    EXPECT_EQ(box.state(), CheckBoxState::Checked);
    box.onMouseMove(205, 45, 0);
    box.reset();
    EXPECT_EQ(box.state(), CheckBoxState::Checked);
    EXPECT_FALSE(box.onLeftButtonDown(205, 45, 0));
}

class TrackBarTest : public ::testing::Test {
protected:
    std::unique_ptr<Texture> knob = makeTexture(10, 16);
    OwnerWindow owner;
    TrackBar bar{owner, knob.get()};
    void SetUp() override { bar.setPosition(100.0f, 50.0f, 0.0f); }
};

TEST_F(TrackBarTest, APressOnTheTrackBringsTheKnobThereAndOffItDoesNothing)
{
    EXPECT_EQ(bar.knobX(), 150.0f) << "the knob sits along the track by value";
    EXPECT_FALSE(bar.onLeftButtonDown(120, 80, 0)); // below the track
    EXPECT_FALSE(bar.onLeftButtonDown(95, 55, 0));  // left of it
    EXPECT_FALSE(bar.onMouseMove(180, 55, 0));
    EXPECT_EQ(bar.value(), 5.0f);
    ASSERT_TRUE(bar.onLeftButtonDown(120, 55, 0));
    EXPECT_FLOAT_EQ(bar.value(), 1.5f); // (120 - 100 - 5) / 100 of 10
    EXPECT_TRUE(bar.onMouseMove(130, 55, 0));
    EXPECT_FLOAT_EQ(bar.value(), 2.5f);
    EXPECT_TRUE(owner.used.empty());
    bar.onLeftButtonUp(130, 55, 0);
    EXPECT_EQ(owner.used.size(), 1u);
}

TEST_F(TrackBarTest, DraggingStaysWithinTheRangeAndTellsTheOwnerOnceOnRelease)
{
    ASSERT_TRUE(bar.onLeftButtonDown(152, 55, 0));
    EXPECT_TRUE(bar.onMouseMove(175, 300, 0));
    EXPECT_FLOAT_EQ(bar.value(), 7.0f); // (175 - 100 - 5) / 100 of 10
    bar.onMouseMove(900, 55, 0);
    EXPECT_EQ(bar.value(), 10.0f);
    bar.onMouseMove(-900, 55, 0);
    EXPECT_EQ(bar.value(), 0.0f);
    EXPECT_TRUE(owner.used.empty());
    EXPECT_FALSE(bar.onLeftButtonUp(0, 0, 0));
    EXPECT_EQ(owner.used.size(), 1u);
    EXPECT_FALSE(bar.onLeftButtonUp(0, 0, 0));
    EXPECT_EQ(owner.used.size(), 1u);
    bar.setRange(0.0f, 64.0f);
    bar.setLength(128.0f);
    bar.setValue(16.0f);
    EXPECT_EQ(bar.knobX(), 132.0f);
}

// Every control hears every event, whatever the others answered.
TEST(WindowControls, EveryControlGetsEveryEventAndTheBackgroundDrags)
{
    std::unique_ptr<Texture> texture = makeTexture(100, 40);
    OwnerWindow window;
    Button first(window, texture.get());
    Button second(window, texture.get());
    window.addControl(first);
    window.addControl(second);
    window.onMouseMove(10, 10, 0);
    EXPECT_EQ(first.state(), ButtonState::Hover);
    EXPECT_EQ(second.state(), ButtonState::Hover);
    window.onLeftButtonDown(10, 10, 0);
    EXPECT_EQ(window.used.size(), 2u);
    EXPECT_FALSE(window.isDragging());
    window.onLeftButtonUp(10, 10, 0);
    // A press on the background starts a drag that the release ends.
    window.onLeftButtonDown(400, 400, 0);
    EXPECT_TRUE(window.isDragging());
    window.onLeftButtonUp(400, 400, 0);
    EXPECT_FALSE(window.isDragging());
    window.onLeftButtonDown(400, 400, 0);
    window.activate();
    EXPECT_FALSE(window.isDragging());
}

// What the window system asks before a press reaches the game.
TEST(WindowControls, TheDragAreaIsTheBackgroundOfADraggableWindowUnderNoEnabledControl)
{
    std::unique_ptr<Texture> texture = makeTexture(100, 40);
    OwnerWindow window;
    Button button(window, texture.get());
    button.setPosition(50.0f, 20.0f, 0.0f);
    TrackBar bar(window, texture.get());
    bar.setPosition(50.0f, 100.0f, 0.0f);
    window.addControl(button);
    window.addControl(bar);
    EXPECT_FALSE(window.isDragArea(400, 400));
    window.setDraggable(true);
    EXPECT_TRUE(window.isDragArea(400, 400));
    EXPECT_FALSE(window.isDragArea(150, 30));  // the button's corner
    EXPECT_FALSE(window.isDragArea(245, 120)); // the track beyond the knob
    EXPECT_TRUE(window.isDragArea(251, 120));
    button.setEnabled(false);
    EXPECT_TRUE(window.isDragArea(150, 30));
}

} // namespace
