// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/RecordingWindow.h"
#include "driver/ControlledClock.h"
#include "platform/VirtualKey.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The shell without a window: the stacks, routing and frame loop only.
class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = &Application::create("main");
        app->setFrameClock(&clock);
        app->setTargetFrameRate(60);
        app->setActive(true);
    }
    void TearDown() override { Application::destroy(); }

    void frame()
    {
        const std::uint64_t before = app->frameCount();
        while (app->frameCount() == before && app->runOnce()) {
        }
    }
    void send(MessageType type, int x = 0, int y = 0)
    {
        WindowMessage message;
        message.type = type;
        message.x = x;
        message.y = y;
        app->handleMessage(message);
    }
    void sendKey(int key)
    {
        WindowMessage message;
        message.type = MessageType::KeyDown;
        message.virtualKey = key;
        app->handleMessage(message);
    }
    // One more key down of the auto-repeat while the key is held.
    void sendRepeat(int key)
    {
        WindowMessage message;
        message.type = MessageType::KeyDown;
        message.virtualKey = key;
        message.repeat = true;
        app->handleMessage(message);
    }

    ControlledClock clock;
    Application* app = nullptr;
    std::vector<std::string> journal;
    RecordingWindow screen{journal, "screen"};
    RecordingWindow upper{journal, "upper"};
    RecordingWindow dialog{journal, "dialog"};
    RecordingWindow topDialog{journal, "top"};
};

TEST_F(ApplicationTest, InputGoesToTheTopDialogElseToTheFrontScreenElseNowhere)
{
    send(MessageType::LeftButtonDown, 10, 20);
    EXPECT_THAT(journal, IsEmpty());
    app->pushScreen(screen);
    send(MessageType::LeftButtonDown, 10, 20);
    sendKey(VirtualKey::Escape);
    app->pushDialog(dialog);
    journal.clear();
    send(MessageType::MouseMove, 5, 6);
    send(MessageType::RightButtonDown, 1, 2);
    send(MessageType::RightButtonUp, 1, 2);
    send(MessageType::LeftButtonUp, 3, 4);
    WindowMessage character;
    character.type = MessageType::Char;
    character.charCode = 'a';
    app->handleMessage(character);
    EXPECT_THAT(journal, ElementsAre("dialog.move(5,6,0)", "dialog.rdown(1,2)", "dialog.rup(1,2)",
                                     "dialog.lup(3,4)", "dialog.char(97)"));
}

TEST_F(ApplicationTest, OnlyTheTopWindowIsUpdatedButAllAreDrawnScreenFirst)
{
    app->pushScreen(screen);
    app->pushScreen(upper);
    app->pushDialog(dialog);
    app->pushDialog(topDialog);
    journal.clear();
    frame();
    EXPECT_THAT(journal,
                ElementsAre("top.update(0)", "upper.render", "dialog.render", "top.render"));
}

TEST_F(ApplicationTest, PushScreenActivatesBeforeTheScreenIsInFrontAndPushDialogAfterwards)
{
    app->pushScreen(screen);
    Window* frontDuringActivate = nullptr;
    struct Probe : RecordingWindow {
        using RecordingWindow::RecordingWindow;
        Window** seen = nullptr;
        void activate() override { *seen = Application::get().frontScreen(); }
    } probe(journal, "probe");
    probe.seen = &frontDuringActivate;
    app->pushScreen(probe);
    EXPECT_EQ(frontDuringActivate, &screen);
    EXPECT_EQ(app->frontScreen(), &probe);
    app->close(true);
    app->runOnce();
    journal.clear();
    app->pushDialog(dialog);
    EXPECT_THAT(journal, ElementsAre("dialog.activate", "screen.activate"));
    EXPECT_EQ(app->topWindow(), &dialog);
}

TEST_F(ApplicationTest, DeferredCloseHappensAtTheNextUpdateBeforeAnyWindowIsUpdated)
{
    app->pushScreen(screen);
    app->pushDialog(dialog);
    dialog.setResult(7);
    journal.clear();
    app->close(false);
    EXPECT_EQ(app->topWindow(), &dialog);
    frame();
    EXPECT_THAT(journal,
                ElementsAre("screen.dialogClosed(dialog,7)", "screen.update(0)", "screen.render"));
    EXPECT_THAT(app->dialogs(), IsEmpty());
}

TEST_F(ApplicationTest, ClosingAScreenTellsTheNewFrontScreenAndActivatesItButNotTheLast)
{
    app->pushScreen(screen);
    app->pushScreen(upper);
    journal.clear();
    app->close(true);
    EXPECT_EQ(app->frontScreen(), &screen);
    EXPECT_THAT(journal, IsEmpty());
    frame();
    EXPECT_THAT(journal, ElementsAre("screen.screenClosed(upper)", "screen.activate",
                                     "screen.update(0)", "screen.render"));
    app->close(false);
    frame();
    EXPECT_EQ(app->frontScreen(), &screen) << "the last screen is never closed";
    EXPECT_EQ(journal.back(), "screen.render");
}

TEST_F(ApplicationTest, TwoImmediateClosesTellBothOwners)
{
    app->pushScreen(screen);
    app->pushDialog(dialog);
    app->pushDialog(topDialog);
    journal.clear();
    app->close(true);
    app->close(true);
    frame();
    EXPECT_THAT(journal, ElementsAre("dialog.dialogClosed(top,0)", "screen.dialogClosed(dialog,0)",
                                     "screen.update(0)", "screen.render"));
}

TEST_F(ApplicationTest, EveryFrameLastsTheBudgetAndSleepsTheRestOfItOnly)
{
    app->pushScreen(screen);
    frame();
    journal.clear();
    frame();
    frame();
    EXPECT_THAT(journal, ElementsAre("screen.update(16)", "screen.render", "screen.update(16)",
                                     "screen.render"));
    clock.clearSleeps();
    std::uint32_t work = 5;
    screen.onRender = [&] { clock.advance(work); };
    frame();
    EXPECT_THAT(clock.sleeps(), ElementsAre(11u));
    clock.clearSleeps();
    work = 20;
    frame();
    EXPECT_THAT(clock.sleeps(), IsEmpty());
    journal.clear();
    work = 0;
    frame();
    EXPECT_EQ(journal.front(), "screen.update(20)");
    app->setTargetFrameRate(0);
    clock.clearSleeps();
    frame();
    EXPECT_THAT(clock.sleeps(), IsEmpty()) << "without a target rate nothing sleeps";
}

TEST_F(ApplicationTest, AnInactiveProgramUpdatesNothingButKeepsDrawing)
{
    app->pushScreen(screen);
    frame();
    send(MessageType::FocusLost);
    journal.clear();
    clock.clearSleeps();
    frame();
    EXPECT_THAT(journal, ElementsAre("screen.render"));
    EXPECT_THAT(clock.sleeps(), ElementsAre(100u));
    send(MessageType::FocusGained);
    journal.clear();
    frame();
    EXPECT_EQ(journal.front(), "screen.update(100)");
}

TEST_F(ApplicationTest, AMinimisedProgramDrawsNothingAndRestoringActivatesTheFrontScreen)
{
    app->pushScreen(screen);
    send(MessageType::Minimized);
    journal.clear();
    clock.clearSleeps();
    frame();
    EXPECT_THAT(journal, ElementsAre("screen.update(0)"));
    EXPECT_THAT(clock.sleeps(), ElementsAre(100u));
    send(MessageType::FocusLost);
    clock.clearSleeps();
    frame();
    EXPECT_THAT(clock.sleeps(), ElementsAre(100u, 100u));
    send(MessageType::FocusGained);
    journal.clear();
    send(MessageType::Restored);
    EXPECT_THAT(journal, ElementsAre("screen.activate"));
    EXPECT_FALSE(app->isMinimized());
    send(MessageType::Restored);
    EXPECT_THAT(journal, ElementsAre("screen.activate"));
}

TEST_F(ApplicationTest, AMinimiseTheWindowSystemDoesNotCarryOutLeavesTheGameRunning)
{
    app->pushScreen(screen);
    app->minimize();
    EXPECT_EQ(app->minimizeRequests(), 1);
    EXPECT_FALSE(app->isMinimized());
    journal.clear();
    clock.clearSleeps();
    frame();
    EXPECT_THAT(journal, ElementsAre("screen.update(0)", "screen.render"));
    EXPECT_THAT(clock.sleeps(), ElementsAre(16u));
    send(MessageType::Minimized);
    EXPECT_TRUE(app->isMinimized());
}

TEST_F(ApplicationTest, OnlyAHeldArrowsAutoRepeatReachesTheWindowAgain)
{
    app->pushScreen(screen);
    journal.clear();
    for (int key : {VirtualKey::Escape, VirtualKey::Enter, VirtualKey::Space, VirtualKey::A}) {
        sendKey(key);
        sendRepeat(key);
        sendRepeat(key);
    }
    EXPECT_THAT(journal, ElementsAre("screen.key(27)", "screen.key(13)", "screen.key(32)",
                                     "screen.key(65)"));
    // Only a held arrow's auto-repeat reaches the screen and the dialog.
    journal.clear();
    sendKey(VirtualKey::Down);
    sendRepeat(VirtualKey::Down);
    EXPECT_THAT(journal, ElementsAre("screen.key(40)", "screen.key(40)"));
    app->pushDialog(dialog);
    journal.clear();
    sendRepeat(VirtualKey::Left);
    sendRepeat(VirtualKey::Up);
    EXPECT_THAT(journal, ElementsAre("dialog.key(37)", "dialog.key(38)"));
}

TEST_F(ApplicationTest, TheProgramsOwnCloseRequestEndsTheLoop)
{
    app->pushScreen(screen);
    app->postCloseMessage();
    EXPECT_FALSE(app->runOnce());
    EXPECT_TRUE(app->hasQuit());
    EXPECT_EQ(app->run(), 0);
}

TEST_F(ApplicationTest, ThePlayersCloseRequestWithoutF4EndsTheProgram)
{
    app->pushScreen(screen);
    app->pushDialog(dialog);
    send(MessageType::CloseRequest);
    EXPECT_TRUE(app->hasQuit());
    EXPECT_EQ(app->dialogs().size(), 1u);
    EXPECT_THAT(journal, ::testing::Not(::testing::Contains("screen.closeRequest")));
    EXPECT_FALSE(app->runOnce());
}

} // namespace
