// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/GameControllers.h"

#include "platform/SdlControllerButtons.h"

#include <algorithm>

namespace {

bool buttonFor(Uint8 sdlButton, ControllerButton& button)
{
    for (const SdlControllerButton& pair : kSdlControllerButtons)
        if (pair.sdl == sdlButton) {
            button = pair.button;
            return true;
        }
    return false;
}

SDL_JoystickID instanceOf(SDL_GameController* controller)
{
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
}

} // namespace

GameControllers::~GameControllers()
{
    for (SDL_GameController* controller : m_open)
        SDL_GameControllerClose(controller);
    if (m_started)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void GameControllers::start()
{
    if (m_started)
        return;
    m_started = true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        m_started = false;
        return;
    }
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
        open(index);
}

void GameControllers::open(int deviceIndex)
{
    if (!SDL_IsGameController(deviceIndex))
        return;
    // The library also announces the controllers that were there at start.
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (std::any_of(m_open.begin(), m_open.end(),
                    [&](SDL_GameController* c) { return instanceOf(c) == id; }))
        return;
    if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex))
        m_open.push_back(controller);
}

void GameControllers::close(int instanceId, std::deque<WindowMessage>& out)
{
    auto at = std::find_if(m_open.begin(), m_open.end(),
                           [&](SDL_GameController* c) { return instanceOf(c) == instanceId; });
    if (at == m_open.end())
        return;
    SDL_GameControllerClose(*at);
    m_open.erase(at);
    m_input.releaseAll(out);
}

bool GameControllers::translate(const SDL_Event& event, std::deque<WindowMessage>& out)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        open(event.cdevice.which);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        close(event.cdevice.which, out);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        ControllerButton button;
        if (buttonFor(event.cbutton.button, button))
            m_input.button(button, event.cbutton.state == SDL_PRESSED, event.cbutton.timestamp,
                           out);
        return true;
    }
    case SDL_CONTROLLERAXISMOTION:
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
            m_input.stickX(event.caxis.value, event.caxis.timestamp, out);
        else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
            m_input.stickY(event.caxis.value, event.caxis.timestamp, out);
        return true;
    default:
        return false;
    }
}

void GameControllers::repeatHeld(std::deque<WindowMessage>& out)
{
    if (!m_open.empty())
        m_input.repeatHeld(SDL_GetTicks(), out);
}
