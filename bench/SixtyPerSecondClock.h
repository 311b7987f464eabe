// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FrameClock.h"

#include <cstdint>

// Steps a sixtieth of a second per frame and never sleeps: frames run back
// to back, and everything on the screen moves as far per frame as the player
// sees at 60 frames per second.
class SixtyPerSecondClock : public FrameClock {
public:
    std::uint32_t milliseconds() override { return 1000 + std::uint32_t(m_frame * 1000 / 60); }
    void sleep(std::uint32_t) override {}
    void nextFrame() { ++m_frame; }

private:
    std::uint64_t m_frame = 0;
};
