// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrameClock.h"

#include "platform/Clock.h"

std::uint32_t SystemFrameClock::milliseconds()
{
    return Clock::milliseconds();
}

void SystemFrameClock::sleep(std::uint32_t milliseconds)
{
    Clock::sleep(milliseconds);
}
