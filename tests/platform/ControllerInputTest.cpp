// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ControllerInput.h"
#include "platform/VirtualKey.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using ::testing::ElementsAre;

namespace {

class ControllerInputTest : public ::testing::Test {
protected:
    // What came out since the last call, as "down 37", "up 13", "repeat 40".
    std::vector<std::string> taken()
    {
        std::vector<std::string> words;
        for (const WindowMessage& m : out) {
            EXPECT_TRUE(m.fromController);
            const char* kind = m.type == MessageType::KeyUp ? "up "
                               : m.repeat                   ? "repeat "
                                                            : "down ";
            words.push_back(kind + std::to_string(m.virtualKey));
        }
        out.clear();
        return words;
    }

    ControllerInput input;
    std::deque<WindowMessage> out;
};

TEST_F(ControllerInputTest, ButtonsAreTheKeysTheScreensKnow)
{
    for (ControllerButton b :
         {ControllerButton::A, ControllerButton::B, ControllerButton::Start, ControllerButton::Y}) {
        input.button(b, true, 0, out);
        input.button(b, true, 0, out);
        input.button(b, false, 0, out);
    }
    EXPECT_THAT(taken(), ElementsAre("down 13", "up 13", "down 27", "up 27", "down 207", "up 207",
                                     "down 198", "up 198"));
}

TEST_F(ControllerInputTest, AHeldDirectionRepeatsAfterADelayAtASteadyRate)
{
    input.button(ControllerButton::Down, true, 1000, out);
    EXPECT_THAT(taken(), ElementsAre("down 40"));
    EXPECT_TRUE(input.isHeld(ControllerButton::Down));
    input.repeatHeld(1000 + ControllerInput::kRepeatDelay - 1, out);
    EXPECT_TRUE(taken().empty());
    input.repeatHeld(1000 + ControllerInput::kRepeatDelay, out);
    input.repeatHeld(1000 + ControllerInput::kRepeatDelay + 10, out);
    EXPECT_THAT(taken(), ElementsAre("repeat 40"));
    // A long stall gives one repeat, not a burst.
    input.repeatHeld(9000, out);
    input.repeatHeld(9000 + ControllerInput::kRepeatInterval, out);
    EXPECT_THAT(taken(), ElementsAre("repeat 40", "repeat 40"));
    input.button(ControllerButton::Down, false, 9500, out);
    input.repeatHeld(20000, out);
    EXPECT_THAT(taken(), ElementsAre("up 40"));
}

TEST_F(ControllerInputTest, TheStickHasADeadZoneAndLetsGoOnlyWellInside)
{
    input.stickX(ControllerInput::kStickPress - 1, 0, out);
    input.stickY(-ControllerInput::kStickPress + 1, 0, out);
    EXPECT_TRUE(taken().empty());
    input.stickX(ControllerInput::kStickPress + 1, 0, out);
    input.stickX(ControllerInput::kStickRelease + 1, 0, out); // wobbling near the edge
    input.stickX(ControllerInput::kStickPress + 500, 0, out);
    EXPECT_THAT(taken(), ElementsAre("down 39"));
    input.stickX(ControllerInput::kStickRelease - 1, 0, out);
    EXPECT_THAT(taken(), ElementsAre("up 39"));
    input.stickX(-32768, 0, out);
    input.stickX(32767, 0, out);
    EXPECT_THAT(taken(), ElementsAre("down 37", "up 37", "down 39"));
    input.stickY(-30000, 0, out);
    EXPECT_THAT(taken(), ElementsAre("down 38"));
}

TEST_F(ControllerInputTest, PadAndStickTogetherMakeOneKeyAndUnpluggingLetsGo)
{
    input.button(ControllerButton::Left, true, 0, out);
    input.stickX(-30000, 0, out);
    input.button(ControllerButton::Left, false, 0, out);
    EXPECT_THAT(taken(), ElementsAre("down 37"));
    EXPECT_TRUE(input.isHeld(ControllerButton::Left));
    input.button(ControllerButton::A, true, 0, out);
    input.releaseAll(out);
    EXPECT_THAT(taken(), ElementsAre("down 13", "up 13", "up 37"));
    EXPECT_FALSE(input.isHeld(ControllerButton::Left));
    input.repeatHeld(100000, out);
    EXPECT_TRUE(taken().empty());
}

} // namespace
