// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The time the frame loop measures and sleeps with. The game uses the
// millisecond clock; the test driver installs one it advances itself.
class FrameClock {
public:
    virtual ~FrameClock() = default;
    virtual std::uint32_t milliseconds() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
};

class SystemFrameClock : public FrameClock {
public:
    std::uint32_t milliseconds() override;
    void sleep(std::uint32_t milliseconds) override;
};
