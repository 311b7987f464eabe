// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Clipboard.h"

#include <SDL.h>

namespace {

Clipboard*& installed()
{
    static Clipboard* clipboard = nullptr;
    return clipboard;
}

} // namespace

bool Clipboard::hasText() const
{
    return SDL_WasInit(SDL_INIT_VIDEO) != 0 && SDL_HasClipboardText() == SDL_TRUE;
}

std::string Clipboard::text() const
{
    if (!hasText())
        return {};
    char* bytes = SDL_GetClipboardText();
    std::string text = bytes != nullptr ? bytes : "";
    SDL_free(bytes);
    return text;
}

void Clipboard::setText(const std::string& text)
{
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0)
        SDL_SetClipboardText(text.c_str());
}

Clipboard& Clipboard::current()
{
    static Clipboard system;
    return installed() != nullptr ? *installed() : system;
}

void Clipboard::install(Clipboard* replacement)
{
    installed() = replacement;
}
