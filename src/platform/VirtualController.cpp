// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VirtualController.h"

#include "platform/SdlControllerButtons.h"

namespace {

SDL_GameControllerButton sdlButton(ControllerButton button)
{
    for (const SdlControllerButton& pair : kSdlControllerButtons)
        if (pair.button == button)
            return pair.sdl;
    return SDL_CONTROLLER_BUTTON_INVALID;
}

} // namespace

VirtualController::VirtualController()
{
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return;
    // A virtual controller of the controller type gets the library's standard
    // layout: button n is controller button n, axis n controller axis n.
    m_deviceIndex = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    if (m_deviceIndex >= 0)
        m_joystick = SDL_JoystickOpen(m_deviceIndex);
}

VirtualController::~VirtualController()
{
    if (m_joystick != nullptr) {
        SDL_JoystickClose(m_joystick);
        SDL_JoystickDetachVirtual(m_deviceIndex);
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void VirtualController::setButton(ControllerButton button, bool down)
{
    if (m_joystick != nullptr)
        SDL_JoystickSetVirtualButton(m_joystick, sdlButton(button), down ? 1 : 0);
}

void VirtualController::setStick(int x, int y)
{
    if (m_joystick == nullptr)
        return;
    SDL_JoystickSetVirtualAxis(m_joystick, SDL_CONTROLLER_AXIS_LEFTX, Sint16(x));
    SDL_JoystickSetVirtualAxis(m_joystick, SDL_CONTROLLER_AXIS_LEFTY, Sint16(y));
}
