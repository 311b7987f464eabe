// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EventInjector.h"

#include "platform/EventSource.h"
#include "platform/PlatformWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace {

// Carried by every injected pointer and window event, in a field the window
// system leaves at zero for these events.
constexpr Uint32 kInjected = 0x7e57;

bool isInjected(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_MOUSEMOTION:
        return event.motion.which == kInjected;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.which == kInjected;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
            return Uint32(event.window.data1) == kInjected;
        default:
            return true;
        }
    default:
        return true;
    }
}

int keepInjectedOnly(void*, SDL_Event* event)
{
    return isInjected(*event) ? 1 : 0;
}

} // namespace

EventInjector::EventInjector(const PlatformWindow& window) : m_window(window)
{
    SDL_SetEventFilter(keepInjectedOnly, nullptr);
}

EventInjector::~EventInjector()
{
    SDL_SetEventFilter(nullptr, nullptr);
}

void EventInjector::moveMouse(int x, int y)
{
    const ScreenRect client = m_window.clientRect();
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.which = kInjected;
    event.motion.windowID = m_window.id();
    event.motion.x = client.left + x;
    event.motion.y = client.top + y;
    SDL_PushEvent(&event);
}

void EventInjector::button(MouseButton which, bool down, int x, int y)
{
    const ScreenRect client = m_window.clientRect();
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.which = kInjected;
    event.button.windowID = m_window.id();
    event.button.button = which == MouseButton::Left    ? SDL_BUTTON_LEFT
                          : which == MouseButton::Right ? SDL_BUTTON_RIGHT
                                                        : SDL_BUTTON_MIDDLE;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = client.left + x;
    event.button.y = client.top + y;
    SDL_PushEvent(&event);
}

void EventInjector::key(int virtualKey, bool down, bool repeat)
{
    const auto scancode = SDL_Scancode(EventSource::scancodeFromVirtualKey(virtualKey));
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = m_window.id();
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    SDL_PushEvent(&event);
}

void EventInjector::text(const std::string& bytes)
{
    const std::size_t chunk = sizeof(SDL_TextInputEvent::text) - 1;
    for (std::size_t start = 0, count = 0; start < bytes.size(); start += count) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = m_window.id();
        count = std::min(chunk, bytes.size() - start);
        // Each event holds whole UTF-8 characters, as the library's own do.
        while (start + count < bytes.size() && count > 1 &&
               (static_cast<unsigned char>(bytes[start + count]) & 0xC0) == 0x80)
            --count;
        std::memcpy(event.text.text, bytes.data() + start, count);
        SDL_PushEvent(&event);
    }
}

void EventInjector::windowEvent(int which)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = m_window.id();
    event.window.event = Uint8(which);
    event.window.data1 = Sint32(kInjected);
    SDL_PushEvent(&event);
}

void EventInjector::focus(bool gained)
{
    windowEvent(gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

void EventInjector::minimized()
{
    windowEvent(SDL_WINDOWEVENT_MINIMIZED);
}

void EventInjector::restored()
{
    windowEvent(SDL_WINDOWEVENT_RESTORED);
}

void EventInjector::closeRequest()
{
    windowEvent(SDL_WINDOWEVENT_CLOSE);
}

bool EventInjector::settle()
{
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        m_window.warpPointer(1, 1);
        SDL_PumpEvents();
        SDL_FlushEvent(SDL_MOUSEMOTION);
        const ScreenPoint expected = m_window.clientToScreen({1, 1});
        const ScreenPoint actual = PlatformWindow::cursorScreenPosition();
        if (actual.x == expected.x && actual.y == expected.y)
            return true;
        if (SDL_GetTicks() - start > 5000)
            return false;
        SDL_Delay(10);
    }
}
