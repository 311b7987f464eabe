// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/GameRun.h"

#include "platform/VirtualController.h"
#include "platform/VirtualKey.h"
#include "screens/HelpScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/XKeyboard.h"
#include "ui/CheckBox.h"
#include "ui/KeyboardFocus.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

bool focusShownOn(GameRun& run, Window& window, const Control& control)
{
    return run.top() == &window && KeyboardFocus::isShown() && window.focusedControl() == &control;
}

} // namespace

TEST(MenuKeysEndToEnd, KeysAloneOpenTheOptionsToggleABoxAndComeBack)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    XKeyboard keyboard;
    if (!keyboard.available())
        GTEST_SKIP() << "xdotool cannot find the game's window";
    MainWindow& main = run.main();
    auto step = [&](const std::string& key, const Control& expected) {
        keyboard.key(key);
        return run.driver().runUntil([&] { return focusShownOn(run, main, expected); });
    };
    ASSERT_TRUE(step("Down", main.button("m_game_btn"))) << "the first key only shows the focus";
    ASSERT_TRUE(step("Down", main.button("m_help_btn")));
    ASSERT_TRUE(step("Tab", main.button("m_top_btn")));
    ASSERT_TRUE(step("shift+Tab", main.button("m_help_btn")));
    ASSERT_TRUE(step("Down", main.button("m_top_btn")));
    ASSERT_TRUE(step("Down", main.button("m_options_btn")));
    run.driver().runFrames(2);
    run.shot("menu_keys_main_menu");

    keyboard.key("Return");
    ASSERT_TRUE(run.driver().runUntil([&] { return run.front() == main.optionsScreen(); }));
    OptionsScreen& options = *main.optionsScreen();
    ASSERT_EQ(options.focusedControl(), &options.soundBox());
    const bool sound = Config::get().m_sound;
    keyboard.key("space");
    ASSERT_TRUE(run.driver().runUntil([&] { return Config::get().m_sound != sound; }));
    EXPECT_EQ(options.soundBox().isChecked(), !sound);
    run.driver().runFrames(2);
    run.shot("menu_keys_options");

    keyboard.key("Escape");
    ASSERT_TRUE(run.driver().runUntil([&] { return run.front() == &main; }));
    EXPECT_TRUE(focusShownOn(run, main, main.button("m_options_btn")))
        << "the menu keeps the focus where the player left it";
    EXPECT_EQ(Config::get().m_sound, !sound);
    EXPECT_FALSE(run.app().hasQuit());
}

TEST(ControllerEndToEnd, AControllerPluggedInLaterWalksTheMainMenu)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    auto pad = std::make_unique<VirtualController>();
    if (!pad->isAttached())
        GTEST_SKIP() << "the library cannot make a virtual controller";
    MainWindow& main = run.main();
    InputDevice& input = run.app().input();
    ScriptedDriver& driver = run.driver();
    auto tap = [&](ControllerButton button) {
        pad->setButton(button, true);
        driver.runFrames(2);
        pad->setButton(button, false);
        driver.runFrames(2);
    };

    ASSERT_TRUE(driver.runUntil([&] { return input.joystickPresent(); }));
    pad->setButton(ControllerButton::Down, true);
    ASSERT_TRUE(driver.runUntil([&] { return input.hatDown(); }));
    pad->setButton(ControllerButton::Down, false);
    ASSERT_TRUE(driver.runUntil([&] { return !input.hatDown(); }));
    EXPECT_TRUE(focusShownOn(run, main, main.button("m_help_btn")))
        << "the controller shows the focus and moves it at once";

    // Held down, the stick walks on by itself to the last button of the column.
    pad->setStick(0, 30000);
    ASSERT_TRUE(
        driver.runUntil([&] { return focusShownOn(run, main, main.button("m_quit_game_btn")); }));
    pad->setStick(0, 0);
    ASSERT_TRUE(driver.runUntil([&] { return !input.hatDown(); }));
    tap(ControllerButton::Up);
    tap(ControllerButton::Up);
    ASSERT_TRUE(focusShownOn(run, main, main.button("m_top_btn")));
    tap(ControllerButton::Up);
    tap(ControllerButton::A);
    ASSERT_TRUE(driver.runUntil([&] { return run.front() == main.helpScreen(); }));
    EXPECT_EQ(main.helpScreen()->focusedControl(), &main.helpScreen()->nextButton());
    tap(ControllerButton::B);
    ASSERT_TRUE(driver.runUntil([&] { return run.front() == &main; }));

    // Pulled out with the pad held: nothing stays held.
    pad->setButton(ControllerButton::Left, true);
    ASSERT_TRUE(driver.runUntil([&] { return input.hatLeft(); }));
    pad.reset();
    ASSERT_TRUE(driver.runUntil([&] { return !input.hatLeft(); }));
    EXPECT_FALSE(input.joystickPresent());
    EXPECT_FALSE(run.app().hasQuit());
}
