// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Clock.h"

#include <SDL.h>

std::uint32_t Clock::milliseconds()
{
    return SDL_GetTicks();
}

void Clock::sleep(std::uint32_t milliseconds)
{
    SDL_Delay(milliseconds);
}
