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
