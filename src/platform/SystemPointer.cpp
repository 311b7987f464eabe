// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemPointer.h"

#include <SDL.h>

void SystemPointer::hide()
{
    SDL_ShowCursor(SDL_DISABLE);
}

void SystemPointer::show()
{
    SDL_ShowCursor(SDL_ENABLE);
}
