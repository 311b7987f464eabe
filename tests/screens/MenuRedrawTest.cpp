// SPDX-License-Identifier: GPL-3.0-or-later
// The menus draw only what changed since the last frame wherever the window
// keeps its back buffer (software rendering). Whatever moved, lit up or
// faded, the window must then show exactly what drawing the whole frame
// shows: no dragon trails, no stale hover looks, no half-faded dialogs.
#include "GameRun.h"

#include "board/Field.h"
#include "driver/ShownPixels.h"
#include "game/GameWindow.h"
#include "platform/VirtualKey.h"
#include "screens/ContinueDialog.h"
#include "screens/HelpScreen.h"
#include "screens/LevelChoiceScreen.h"

#include <gtest/gtest.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Pixels that differ between two pictures of the same size.
int differingPixels(const Screenshot& a, const Screenshot& b)
{
    if (a.width != b.width || a.height != b.height)
        return a.width * a.height + b.width * b.height + 1;
    int count = 0;
    for (std::size_t i = 0; i < a.rgb.size(); i += 3)
        if (a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2])
            ++count;
    return count;
}

// Lets the screens animate for a while, drawn as the frame loop chooses,
// then freezes them (no updates while the window is inactive) and compares
// the window and the back buffer with the same frame drawn whole.
void expectShownAsDrawnWhole(GameRun& run, int frames, const std::string& name)
{
    ScriptedDriver& driver = run.driver();
    Application& app = run.app();
    const Application::DrawCounts before = app.drawCounts();
    driver.runFrames(frames);
    EXPECT_LT(app.drawCounts().whole - before.whole, std::uint64_t(frames) / 2)
        << name << ": the frames were seldom drawn by their changes alone";
    driver.focus(false);
    driver.runFrames(1);
    const Screenshot shown = shownInWindow(app.platformWindow().clientRect());
    const Screenshot kept = driver.screenshot();
    app.redrawWhole();
    driver.runFrames(1);
    const Screenshot whole = driver.screenshot();
    ASSERT_FALSE(shown.empty()) << name;
    EXPECT_EQ(differingPixels(shown, whole), 0) << name << ": the window shows a stale region";
    EXPECT_EQ(differingPixels(kept, whole), 0) << name << ": the back buffer kept a stale region";
    if (differingPixels(shown, whole) != 0) {
        shown.savePng(std::string(VM_SCREENSHOT_DIR) + "/" + name + "_shown.png");
        whole.savePng(std::string(VM_SCREENSHOT_DIR) + "/" + name + "_whole.png");
    }
    driver.focus(true);
}

// Bytes handed out by the C heap, in blocks of its own mapping or not.
std::size_t heapInUse()
{
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#else
    return 0;
#endif
}

} // namespace

TEST(MenuRedraw, EveryMenuScreenTheIdleBoardAndTheContinueDialogShowAsDrawnWhole)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    if (!run.app().platformWindow().canPresentRegions())
        GTEST_SKIP() << "the renderer draws whole frames";
    // Flying dragons, the pointer's hover look and the focus glow.
    run.driver().moveTo(400, 250);
    run.driver().runFrames(20);
    run.driver().moveTo(120, 520);
    expectShownAsDrawnWhole(run, 150, "main_menu_dragons");
    const Button& options = run.main().button("m_options_btn");
    run.driver().moveTo(int(options.x() + options.width() / 2), int(options.y() + 10));
    expectShownAsDrawnWhole(run, 30, "main_menu_hover");
    run.driver().moveTo(700, 40);
    run.driver().press(VirtualKey::Down);
    run.driver().press(VirtualKey::Down);
    expectShownAsDrawnWhole(run, 40, "main_menu_focus");
    for (const char* button : {"m_options_btn", "m_help_btn", "m_top_btn", "m_game_btn"}) {
        run.click(run.main().button(button));
        ASSERT_NE(run.front(), &run.main()) << button;
        expectShownAsDrawnWhole(run, 60, button);
        run.press(Config::get().m_backKey);
        ASSERT_EQ(run.front(), &run.main()) << button;
    }
    // The idle board, then the continue dialog fading in over the menu from its first frame on.
    run.click(run.main().button("m_game_btn"));
    run.click(run.main().levelChoice()->okButton());
    ASSERT_TRUE(run.driver().runUntil([&] { return run.front() == run.main().game(); }));
    // The player thinking: nothing moves but the board's own animations.
    const Field& field = *run.main().game()->field();
    ASSERT_TRUE(run.driver().runUntil([&] { return field.state() == FieldState::Idle; }));
    run.driver().moveTo(400, 300);
    expectShownAsDrawnWhole(run, 60, "idle_board");
    run.press(VirtualKey::Escape);
    ASSERT_EQ(run.front(), &run.main());
    const Button& newGame = run.main().button("m_game_btn");
    run.driver().click(int(newGame.x() + newGame.width() / 2),
                       int(newGame.y() + newGame.height() / 2));
    run.driver().processInput();
    ASSERT_NE(run.main().continueDialog(), nullptr);
    run.driver().moveTo(300, 200);
    expectShownAsDrawnWhole(run, 30, "continue_dialog");
}

// Finding what changed records every frame in the renderer's feedback mode,
// which once kept every buffer of vertices it read: megabytes a minute.
TEST(MenuRedraw, ALongStayOnTheMainMenuHoldsItsMemory)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitiser's heap is not the one measured";
#endif
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    if (!run.app().platformWindow().canPresentRegions())
        GTEST_SKIP() << "the renderer draws whole frames";
    run.driver().runFrames(60);
    const std::size_t before = heapInUse();
    const Application::DrawCounts counts = run.app().drawCounts();
    run.driver().runFrames(600);
    EXPECT_GT(run.app().drawCounts().regions, counts.regions) << "the dragons did not fly";
    const std::size_t after = heapInUse();
    EXPECT_LT(after, before + (std::size_t(1) << 20)) << "grew by " << (after - before) << " bytes";
}
