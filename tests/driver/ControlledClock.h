// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FrameClock.h"

#include <cstdint>
#include <vector>

// A clock that only moves when told: sleeping advances it by the time slept,
// so with a target frame rate every frame lasts exactly the frame budget.
class ControlledClock : public FrameClock {
public:
    std::uint32_t milliseconds() override { return m_now; }
    void sleep(std::uint32_t milliseconds) override
    {
        m_sleeps.push_back(milliseconds);
        m_now += milliseconds;
    }

    // Time that passes "inside" a frame, as if drawing took that long.
    void advance(std::uint32_t milliseconds) { m_now += milliseconds; }
    const std::vector<std::uint32_t>& sleeps() const { return m_sleeps; }
    void clearSleeps() { m_sleeps.clear(); }

private:
    std::uint32_t m_now = 1000;
    std::vector<std::uint32_t> m_sleeps;
};
