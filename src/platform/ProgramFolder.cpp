// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProgramFolder.h"

#include <SDL.h>

std::string ProgramFolder::path()
{
    char* base = SDL_GetBasePath();
    if (base == nullptr)
        return {};
    std::string folder = base;
    SDL_free(base);
    return folder;
}
