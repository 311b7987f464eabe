// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The millisecond clock the game times frames with and seeds its random
// generator from.
class Clock {
public:
    static std::uint32_t milliseconds();
    static void sleep(std::uint32_t milliseconds);
};
