// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VirtualKey.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/EditBox.h"
#include "ui/TrackBar.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Notes the keys the window hears itself.
class KeyWindow : public OwnerWindow {
public:
    void onKeyDown(int key) override
    {
        keys.push_back(key);
        OwnerWindow::onKeyDown(key);
    }
    std::vector<int> keys;
};

// A menu-like window: it takes keyboard focus.
class MenuWindow : public KeyWindow {
public:
    MenuWindow() { enableKeyboardFocus(); }
    using Window::setFocusOrder;
    using Window::setInitialFocus;
};

class KeyboardFocusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        KeyboardFocus::setShown(false);
        // Added out of reading order: a row of two below a single one.
        place(right, 200.0f, 100.0f);
        place(top, 100.0f, 20.0f);
        place(left, 40.0f, 104.0f);
        place(bottom, 100.0f, 200.0f);
    }
    void place(Button& button, float x, float y)
    {
        button.setPosition(x, y, 0.0f);
        window.addControl(button);
    }
    void keys(std::initializer_list<int> list)
    {
        for (int key : list)
            window.keyDown(key);
    }

    std::unique_ptr<Texture> texture = makeTexture(100, 40); // frames of 10
    MenuWindow window;
    Button top{window, texture.get()};
    Button left{window, texture.get()};
    Button right{window, texture.get()};
    Button bottom{window, texture.get()};
};

TEST_F(KeyboardFocusTest, TheFirstKeyShowsTheFocusThenArrowsWalkTheReadingOrder)
{
    EXPECT_EQ(window.focusedControl(), &top);
    EXPECT_FALSE(top.showsFocus());
    keys({VirtualKey::Down});
    EXPECT_EQ(window.focusedControl(), &top);
    EXPECT_TRUE(top.showsFocus());
    keys({VirtualKey::Down});
    EXPECT_EQ(window.focusedControl(), &left);
    keys({VirtualKey::Right});
    EXPECT_EQ(window.focusedControl(), &right);
    keys({VirtualKey::Down, VirtualKey::Down});
    EXPECT_EQ(window.focusedControl(), &bottom) << "arrows stop at the ends";
    keys({VirtualKey::Tab});
    EXPECT_EQ(window.focusedControl(), &top) << "Tab goes round";
    keys({VirtualKey::Up, VirtualKey::Left});
    EXPECT_EQ(window.focusedControl(), &top);
    EXPECT_TRUE(window.keys.empty()) << "the window never heard the focus keys";
    EXPECT_TRUE(window.used.empty());
}

TEST_F(KeyboardFocusTest, ADeclaredOrderAndInitialControlWin)
{
    window.setFocusOrder({&bottom, &right, &top});
    window.setInitialFocus(right);
    EXPECT_EQ(window.focusedControl(), &right);
    keys({VirtualKey::Tab, VirtualKey::Tab});
    EXPECT_EQ(window.focusedControl(), &top);
    keys({VirtualKey::Tab});
    EXPECT_EQ(window.focusedControl(), &bottom);
}

TEST_F(KeyboardFocusTest, HiddenButtonsAreSkippedAndAHiddenFocusGoesBack)
{
    left.setEnabled(false);
    keys({VirtualKey::Down, VirtualKey::Down});
    EXPECT_EQ(window.focusedControl(), &right);
    right.setEnabled(false);
    EXPECT_EQ(window.focusedControl(), &top);
}

TEST_F(KeyboardFocusTest, SpacePressesEnterPressesOnlyWhileTheFocusShows)
{
    keys({VirtualKey::Enter});
    EXPECT_EQ(window.keys, std::vector<int>{VirtualKey::Enter}) << "the window's own Enter";
    keys({VirtualKey::Space});
    EXPECT_TRUE(window.used.empty()) << "the first Space only shows where the focus is";
    keys({VirtualKey::Space, VirtualKey::Down, VirtualKey::Enter, VirtualKey::GamepadMenu});
    EXPECT_EQ(window.used, (std::vector<Control*>{&top, &left, &left}));
    EXPECT_EQ(window.keys.size(), 1u);
    keys({VirtualKey::Escape, VirtualKey::A});
    EXPECT_EQ(window.keys,
              (std::vector<int>{VirtualKey::Enter, VirtualKey::Escape, VirtualKey::A}));
}

TEST_F(KeyboardFocusTest, TheMouseTakesTheFocusAlongAndHidesItAndAKeyClearsItsHoverLook)
{
    keys({VirtualKey::Down});
    EXPECT_TRUE(top.showsFocus());
    window.onMouseMove(250, 105, 0);
    EXPECT_EQ(window.focusedControl(), &right);
    EXPECT_FALSE(right.showsFocus());
    window.onMouseMove(5, 500, 0);
    EXPECT_EQ(window.focusedControl(), &right) << "leaving a control keeps the focus there";
    keys({VirtualKey::Down});
    EXPECT_TRUE(right.showsFocus());
    EXPECT_EQ(right.state(), ButtonState::Normal);
    keys({VirtualKey::Down});
    window.onLeftButtonDown(5, 500, 0);
    EXPECT_FALSE(bottom.showsFocus());
    // A key clears a hover look elsewhere.
    window.onMouseMove(150, 25, 0);
    EXPECT_EQ(top.state(), ButtonState::Hover);
    keys({VirtualKey::Down, VirtualKey::Down});
    EXPECT_EQ(top.state(), ButtonState::Normal);
    EXPECT_TRUE(left.showsFocus());
}

TEST(KeyboardFocus, ACheckBoxTogglesAndASliderStepsWithLeftAndRight)
{
    KeyboardFocus::setShown(true);
    std::unique_ptr<Texture> boxTexture = makeTexture(20, 80);
    std::unique_ptr<Texture> knob = makeTexture(10, 16);
    MenuWindow window;
    CheckBox box(window, boxTexture.get());
    TrackBar slider(window, knob.get());
    box.setPosition(10.0f, 10.0f, 0.0f);
    slider.setPosition(10.0f, 60.0f, 0.0f);
    window.addControl(box);
    window.addControl(slider);
    window.keyDown(VirtualKey::Space);
    EXPECT_TRUE(box.isChecked());
    window.keyDown(VirtualKey::Enter);
    EXPECT_FALSE(box.isChecked());
    window.keyDown(VirtualKey::Right);
    ASSERT_EQ(window.focusedControl(), &slider);
    window.keyDown(VirtualKey::Right);
    window.onKeyRepeat(VirtualKey::Right);
    EXPECT_FLOAT_EQ(slider.value(), 7.0f);
    for (int i = 0; i < 12; ++i)
        window.onKeyRepeat(VirtualKey::Left);
    EXPECT_FLOAT_EQ(slider.value(), 0.0f);
    EXPECT_EQ(window.used.size(), 2u + 14u);
    slider.setKeyStep(1.0f);
    window.keyDown(VirtualKey::Right);
    EXPECT_FLOAT_EQ(slider.value(), 1.0f);
    window.keyDown(VirtualKey::Up);
    EXPECT_EQ(window.focusedControl(), &box);
}

TEST(KeyboardFocus, AFocusedTextFieldKeepsItsCaretKeysAndSpace)
{
    KeyboardFocus::setShown(true);
    std::unique_ptr<Texture> boxTexture = makeTexture(100, 40);
    MenuWindow window;
    EditBox field(window, nullptr, 20.0f, boxTexture.get());
    Button ok(window, boxTexture.get());
    field.setPosition(10.0f, 10.0f, 0.0f);
    ok.setPosition(10.0f, 80.0f, 0.0f);
    window.addControl(field);
    window.addControl(ok);
    field.setFocus(true);
    field.setText("abc");
    for (int key : {VirtualKey::Left, VirtualKey::Space, VirtualKey::Enter})
        window.keyDown(key);
    EXPECT_EQ(field.caret(), 2u);
    EXPECT_EQ(window.keys,
              (std::vector<int>{VirtualKey::Left, VirtualKey::Space, VirtualKey::Enter}));
    window.keyDown(VirtualKey::Down);
    EXPECT_EQ(window.focusedControl(), &ok);
}

// The play screen has a button too, but its arrows belong to the board.
TEST(KeyboardFocus, AWindowWithoutKeyboardFocusHearsEveryKey)
{
    KeyboardFocus::setShown(true);
    std::unique_ptr<Texture> texture = makeTexture(100, 40);
    KeyWindow window;
    Button button(window, texture.get());
    window.addControl(button);
    window.keyDown(VirtualKey::Space);
    window.onKeyRepeat(VirtualKey::Down);
    EXPECT_EQ(window.focusedControl(), nullptr);
    EXPECT_TRUE(window.used.empty());
    EXPECT_EQ(window.keys, (std::vector<int>{VirtualKey::Space, VirtualKey::Down}));
}

} // namespace
