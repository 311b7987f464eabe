#pragma once

#include "platform/PlatformWindow.h"

class EventSource;

struct MouseMovement {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Answers where the pointer is and which keys are held. Everything that
// drives the game arrives as window messages; the key state here is what
// those messages reported, no extra device is opened.
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
    bool hatLeft() const { return false; }
    bool hatRight() const { return false; }
    bool hatUp() const { return false; }
    bool hatDown() const { return false; }

private:
    const PlatformWindow* m_window = nullptr;
    const EventSource* m_events = nullptr;
    bool m_active = false;
};
