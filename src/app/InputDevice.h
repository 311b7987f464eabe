// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ControllerInput.h"
#include "platform/PlatformWindow.h"

class EventSource;

struct MouseMovement {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Answers where the pointer is and which keys are held. Everything that
// drives the game arrives as window messages; the key state here is what
// those messages reported; game controllers come through the same messages.
class InputDevice {
public:
    // Binds to the window and its event source (both not owned).
    void create(const PlatformWindow& window, const EventSource& events);
    void release();
    void setActive(bool active) { m_active = active; }
    bool isCreated() const { return m_window != nullptr; }
    void poll() {}

    // Client coordinates of the pointer as the window's own pointer events
    // last placed it; negative left of or above the client area.
    ScreenPoint pointerPosition() const;
    bool keyDown(int virtualKey) const;
    int firstKeyDown() const;
    MouseMovement mouseMovement() const { return {}; }
    // Whether a game controller is plugged in.
    bool joystickPresent() const;
    // Any game controller's d-pad or left stick held that way.
    bool hatLeft() const { return held(ControllerButton::Left); }
    bool hatRight() const { return held(ControllerButton::Right); }
    bool hatUp() const { return held(ControllerButton::Up); }
    bool hatDown() const { return held(ControllerButton::Down); }

private:
    bool held(ControllerButton direction) const;

    const PlatformWindow* m_window = nullptr;
    const EventSource* m_events = nullptr;
    bool m_active = false;
};
