// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ControllerInput.h"

struct _SDL_Joystick;

// A game controller that exists only inside the library, for driving the game
// in tests through the real controller path: plugged in when made, pulled out
// when destroyed. Its buttons and stick change when the next events are read.
class VirtualController {
public:
    VirtualController();
    ~VirtualController();
    VirtualController(const VirtualController&) = delete;
    VirtualController& operator=(const VirtualController&) = delete;

    bool isAttached() const { return m_joystick != nullptr; }
    void setButton(ControllerButton button, bool down);
    // The left stick, -32768 … 32767 on each axis, down positive.
    void setStick(int x, int y);

private:
    int m_deviceIndex = -1;
    _SDL_Joystick* m_joystick = nullptr;
};
