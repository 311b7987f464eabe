// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/GameControllers.h"
#include "platform/PlatformWindow.h"
#include "platform/WindowMessage.h"

#include <array>
#include <cstdint>
#include <deque>

union SDL_Event;

// Turns the platform's events for the game window into WindowMessages and
// keeps the state of every key and mouse button as those events report it.
class EventSource {
public:
    explicit EventSource(const PlatformWindow& window) : m_window(window) {}

    // Takes the next waiting event and appends what it means (possibly nothing,
    // a key press can mean a key and a character). With nothing waiting it
    // appends the repeats of a held controller direction that are due; false
    // when it appended nothing then. The first call opens the game controllers.
    bool poll(std::deque<WindowMessage>& out);
    bool isKeyDown(int virtualKey) const;
    // The lowest virtual key held down, or -1.
    int firstKeyDown() const;
    std::uint32_t mouseKeyState() const;
    void releaseAllKeys();
    // Where the window's last pointer event put the pointer, in window
    // coordinates. Only the window's own events count: the library's global
    // pointer state lags behind motion that does not come from a raw device.
    ScreenPoint pointer() const { return m_pointer; }
    void setPointer(ScreenPoint windowPoint) { m_pointer = windowPoint; }
    const GameControllers& controllers() const { return m_controllers; }

    static int virtualKeyFromScancode(int scancode);
    static int scancodeFromVirtualKey(int virtualKey);

private:
    void translate(const SDL_Event& event, std::deque<WindowMessage>& out);
    void translateKey(const SDL_Event& event, std::deque<WindowMessage>& out);
    static void translateText(const char* text, std::deque<WindowMessage>& out);
    void translateWindowEvent(const SDL_Event& event, std::deque<WindowMessage>& out);
    void translateMouse(const SDL_Event& event, std::deque<WindowMessage>& out);
    void setKey(int virtualKey, bool down);

    const PlatformWindow& m_window;
    std::array<bool, 256> m_keys{};
    std::uint32_t m_buttons = 0;
    ScreenPoint m_pointer;
    GameControllers m_controllers;
};
