// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "platform/VirtualKey.h"
#include "ui/Button.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

class KeyCountingButton : public Button {
public:
    using Button::Button;
    void onKeyDown(int key) override { keys.push_back(key); }
    std::vector<int> keys;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.onClientResized(800, 600);
        app.pushScreen(screen);
        app.pushDialog(dialog);
        dialog.addControl(button);
        dialog.setPosition(100.0f, 50.0f, 0.0f);
        button.setPosition(10.0f, 10.0f, 0.0f);
    }
    void TearDown() override
    {
        app.close(true);
        app.runOnce(); // tell the screen, leave the stacks empty but for the screen
        app.onClientResized(800, 600);
    }

    Application& app = Application::get();
    OwnerWindow screen;
    TestDialog dialog;
    std::unique_ptr<Texture> texture = makeTexture(50, 40);
    KeyCountingButton button{dialog, texture.get()};
};

TEST_F(DialogTest, EscapeClosesWithResultOneOtherKeysOnlyReachTheControls)
{
    dialog.onKeyDown(VirtualKey::Space);
    EXPECT_EQ(dialog.result(), 0);
    app.runOnce();
    EXPECT_EQ(app.topWindow(), &dialog);
    dialog.onKeyDown(VirtualKey::Escape);
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(button.keys, (std::vector<int>{VirtualKey::Space, VirtualKey::Escape}));
    EXPECT_EQ(app.topWindow(), &dialog); // closed at the next update
    app.runOnce();
    EXPECT_TRUE(app.dialogs().empty());
    app.pushDialog(dialog);
}

TEST_F(DialogTest, EnterPressesTheFocusedButtonOnceTheFocusShowsElseClosesWithResultZero)
{
    dialog.setResult(5);
    KeyboardFocus::setShown(true);
    dialog.keyDown(VirtualKey::Enter);
    EXPECT_EQ(dialog.used, std::vector<Control*>{&button});
    app.runOnce();
    EXPECT_EQ(app.topWindow(), &dialog);
    KeyboardFocus::setShown(false);
    dialog.keyDown(VirtualKey::Enter);
    EXPECT_EQ(dialog.used.size(), 1u);
    EXPECT_EQ(dialog.result(), 0);
    app.runOnce();
    EXPECT_TRUE(app.dialogs().empty());
    app.pushDialog(dialog);
}

TEST_F(DialogTest, MouseCoordinatesBecomeLogicalAndRelativeToTheDialog)
{
    app.onClientResized(1024, 768);
    // Client (141, 77) is logical (110, 60), the button's corner relative to (100, 50).
    dialog.onLeftButtonDown(141, 77, 0);
    ASSERT_EQ(dialog.used.size(), 1u);
    dialog.onMouseMove(140, 76, 0);
    EXPECT_EQ(button.state(), ButtonState::Normal);
}

} // namespace
