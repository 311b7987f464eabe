// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FrameClock.h"

#include <cstdint>

// The frame loop's time: the step each frame advances by, and the sleep that
// makes a frame last its share of a second at the target rate.
class FramePacer {
public:
    // 0: frames follow each other without sleeping.
    void setTargetFrameRate(std::uint32_t framesPerSecond) { m_targetFrameRate = framesPerSecond; }
    std::uint32_t targetFrameRate() const { return m_targetFrameRate; }
    // Not owned; null returns to the system clock.
    void setClock(FrameClock* clock);
    FrameClock& clock() { return *m_clock; }

    // The next frame's step is measured from now (the loop (re)starts).
    void restart() { m_timing = false; }
    void startTiming();
    // The milliseconds since the last frame began.
    float beginFrame();
    // Sleeps the rest of the frame's budget.
    void endFrame();
    // A pause while the program is inactive or minimised.
    void idle();

private:
    SystemFrameClock m_systemClock;
    FrameClock* m_clock = &m_systemClock;
    std::uint32_t m_targetFrameRate = 0;
    std::uint32_t m_lastTime = 0;
    std::uint32_t m_frameStart = 0;
    bool m_timing = false;
};
