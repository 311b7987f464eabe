// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class PlatformWindow;

enum class MouseButton { Left, Right, Middle };

// Puts input into the platform's event queue as if the player had made it.
// Used by the scripted test driver; coordinates are client coordinates.
// While it exists, the pointer and focus events the window system makes
// itself are dropped: tests that share a display (another test's window
// taking the focus, the shared pointer moving) cannot disturb each other.
class EventInjector {
public:
    explicit EventInjector(const PlatformWindow& window);
    ~EventInjector();
    EventInjector(const EventInjector&) = delete;
    EventInjector& operator=(const EventInjector&) = delete;

    // Plain motion, as a remote desktop or a tablet delivers it: the system's
    // own idea of the pointer is left alone.
    void moveMouse(int x, int y);
    void button(MouseButton button, bool down, int x, int y);
    // repeat: a key down of the keyboard's auto-repeat while the key is held.
    void key(int virtualKey, bool down, bool repeat = false);
    void text(const std::string& bytes);
    void focus(bool gained);
    void minimized();
    void restored();
    void closeRequest();
    // Waits (up to five seconds, for slow sanitised runs) until the window
    // system has the window where the game believes it is, checked by putting
    // the pointer on the client area.
    bool settle();

private:
    void windowEvent(int which);

    const PlatformWindow& m_window;
};
