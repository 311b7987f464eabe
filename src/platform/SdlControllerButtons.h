// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ControllerInput.h"

#include <SDL.h>

// The library's buttons for the ones the game uses, both ways.
struct SdlControllerButton {
    SDL_GameControllerButton sdl;
    ControllerButton button;
};

constexpr SdlControllerButton kSdlControllerButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, ControllerButton::A},
    {SDL_CONTROLLER_BUTTON_B, ControllerButton::B},
    {SDL_CONTROLLER_BUTTON_Y, ControllerButton::Y},
    {SDL_CONTROLLER_BUTTON_START, ControllerButton::Start},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, ControllerButton::Left},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, ControllerButton::Right},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, ControllerButton::Up},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, ControllerButton::Down},
};
