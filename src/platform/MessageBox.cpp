// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageBox.h"

#include <SDL.h>

void MessageBox::showError(const std::string& title, const std::string& text)
{
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
}
