// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ControllerInput.h"

#include <deque>
#include <vector>

union SDL_Event;
struct _SDL_GameController;

// The game controllers the library knows a button layout for: those present
// when the first events are read and any plugged in later; a controller that
// is pulled out is closed and lets go of what it held.
class GameControllers {
public:
    GameControllers() = default;
    ~GameControllers();
    GameControllers(const GameControllers&) = delete;
    GameControllers& operator=(const GameControllers&) = delete;

    // Starts the controller subsystem and opens what is attached; once.
    void start();
    // Takes a controller event; false when the event is of another kind.
    bool translate(const SDL_Event& event, std::deque<WindowMessage>& out);
    void repeatHeld(std::deque<WindowMessage>& out);
    std::size_t openCount() const { return m_open.size(); }
    const ControllerInput& input() const { return m_input; }

private:
    void open(int deviceIndex);
    void close(int instanceId, std::deque<WindowMessage>& out);

    bool m_started = false;
    std::vector<_SDL_GameController*> m_open;
    ControllerInput m_input;
};
