// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EventSource.h"

#include "platform/PlatformWindow.h"
#include "platform/QuitSignals.h"
#include "platform/VirtualKey.h"
#include "utils/Utf8.h"

#include <SDL.h>

namespace {

struct KeyPair {
    SDL_Scancode scancode;
    int virtualKey;
};

// Keys that are not letters or digits. Both left and right modifiers give the
// one shared code, as the screens only ask for "Control" or "Shift".
constexpr KeyPair keyTable[] = {
    {SDL_SCANCODE_BACKSPACE, VirtualKey::Backspace},
    {SDL_SCANCODE_TAB, VirtualKey::Tab},
    {SDL_SCANCODE_RETURN, VirtualKey::Enter},
    {SDL_SCANCODE_KP_ENTER, VirtualKey::Enter},
    {SDL_SCANCODE_LSHIFT, VirtualKey::Shift},
    {SDL_SCANCODE_RSHIFT, VirtualKey::Shift},
    {SDL_SCANCODE_LCTRL, VirtualKey::Control},
    {SDL_SCANCODE_RCTRL, VirtualKey::Control},
    {SDL_SCANCODE_LALT, VirtualKey::Alt},
    {SDL_SCANCODE_RALT, VirtualKey::Alt},
    {SDL_SCANCODE_PAUSE, VirtualKey::Pause},
    {SDL_SCANCODE_CAPSLOCK, VirtualKey::CapsLock},
    {SDL_SCANCODE_ESCAPE, VirtualKey::Escape},
    {SDL_SCANCODE_SPACE, VirtualKey::Space},
    {SDL_SCANCODE_PAGEUP, VirtualKey::PageUp},
    {SDL_SCANCODE_PAGEDOWN, VirtualKey::PageDown},
    {SDL_SCANCODE_END, VirtualKey::End},
    {SDL_SCANCODE_HOME, VirtualKey::Home},
    {SDL_SCANCODE_LEFT, VirtualKey::Left},
    {SDL_SCANCODE_UP, VirtualKey::Up},
    {SDL_SCANCODE_RIGHT, VirtualKey::Right},
    {SDL_SCANCODE_DOWN, VirtualKey::Down},
    {SDL_SCANCODE_INSERT, VirtualKey::Insert},
    {SDL_SCANCODE_DELETE, VirtualKey::Delete},
    {SDL_SCANCODE_KP_0, VirtualKey::Numpad0},
    {SDL_SCANCODE_KP_1, VirtualKey::Numpad0 + 1},
    {SDL_SCANCODE_KP_2, VirtualKey::Numpad0 + 2},
    {SDL_SCANCODE_KP_3, VirtualKey::Numpad0 + 3},
    {SDL_SCANCODE_KP_4, VirtualKey::Numpad0 + 4},
    {SDL_SCANCODE_KP_5, VirtualKey::Numpad0 + 5},
    {SDL_SCANCODE_KP_6, VirtualKey::Numpad0 + 6},
    {SDL_SCANCODE_KP_7, VirtualKey::Numpad0 + 7},
    {SDL_SCANCODE_KP_8, VirtualKey::Numpad0 + 8},
    {SDL_SCANCODE_KP_9, VirtualKey::Numpad0 + 9},
    {SDL_SCANCODE_KP_MULTIPLY, VirtualKey::Multiply},
    {SDL_SCANCODE_KP_PLUS, VirtualKey::Add},
    {SDL_SCANCODE_KP_MINUS, VirtualKey::Subtract},
    {SDL_SCANCODE_KP_PERIOD, VirtualKey::Decimal},
    {SDL_SCANCODE_KP_DIVIDE, VirtualKey::Divide},
    {SDL_SCANCODE_NUMLOCKCLEAR, VirtualKey::NumLock},
    {SDL_SCANCODE_SCROLLLOCK, VirtualKey::ScrollLock},
    {SDL_SCANCODE_SEMICOLON, VirtualKey::Semicolon},
    {SDL_SCANCODE_EQUALS, VirtualKey::Equals},
    {SDL_SCANCODE_COMMA, VirtualKey::Comma},
    {SDL_SCANCODE_MINUS, VirtualKey::Minus},
    {SDL_SCANCODE_PERIOD, VirtualKey::Period},
    {SDL_SCANCODE_SLASH, VirtualKey::Slash},
    {SDL_SCANCODE_GRAVE, VirtualKey::Grave},
    {SDL_SCANCODE_LEFTBRACKET, VirtualKey::LeftBracket},
    {SDL_SCANCODE_BACKSLASH, VirtualKey::Backslash},
    {SDL_SCANCODE_RIGHTBRACKET, VirtualKey::RightBracket},
    {SDL_SCANCODE_APOSTROPHE, VirtualKey::Apostrophe},
};

// Keys whose press also produces a character: the control codes a text field sees.
int controlCharacterFor(int virtualKey)
{
    switch (virtualKey) {
    case VirtualKey::Backspace:
    case VirtualKey::Tab:
    case VirtualKey::Enter:
    case VirtualKey::Escape:
        return virtualKey;
    default:
        return 0;
    }
}

int letterOrDigitKey(SDL_Keycode symbol)
{
    if (symbol >= SDLK_a && symbol <= SDLK_z)
        return VirtualKey::A + int(symbol - SDLK_a);
    if (symbol >= SDLK_0 && symbol <= SDLK_9)
        return VirtualKey::Digit0 + int(symbol - SDLK_0);
    return 0;
}

} // namespace

int EventSource::virtualKeyFromScancode(int scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return VirtualKey::A + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return VirtualKey::Digit0 + 1 + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0)
        return VirtualKey::Digit0;
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return VirtualKey::F1 + (scancode - SDL_SCANCODE_F1);
    for (const KeyPair& pair : keyTable)
        if (pair.scancode == scancode)
            return pair.virtualKey;
    return 0;
}

int EventSource::scancodeFromVirtualKey(int virtualKey)
{
    if (virtualKey >= VirtualKey::A && virtualKey <= VirtualKey::A + 25)
        return SDL_SCANCODE_A + (virtualKey - VirtualKey::A);
    if (virtualKey == VirtualKey::Digit0)
        return SDL_SCANCODE_0;
    if (virtualKey > VirtualKey::Digit0 && virtualKey <= VirtualKey::Digit0 + 9)
        return SDL_SCANCODE_1 + (virtualKey - VirtualKey::Digit0 - 1);
    if (virtualKey >= VirtualKey::F1 && virtualKey <= VirtualKey::F12)
        return SDL_SCANCODE_F1 + (virtualKey - VirtualKey::F1);
    for (const KeyPair& pair : keyTable)
        if (pair.virtualKey == virtualKey)
            return pair.scancode;
    return SDL_SCANCODE_UNKNOWN;
}

bool EventSource::poll(std::deque<WindowMessage>& out)
{
    if (QuitSignals::takePending()) {
        WindowMessage message;
        message.type = MessageType::CloseRequest;
        message.fromProgram = true;
        out.push_back(message);
        return true;
    }
    m_controllers.start();
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        const std::size_t before = out.size();
        m_controllers.repeatHeld(out);
        return out.size() != before;
    }
    translate(event, out);
    return true;
}

bool EventSource::isKeyDown(int virtualKey) const
{
    if (virtualKey < 0 || virtualKey >= int(m_keys.size()))
        return false;
    return m_keys[std::size_t(virtualKey)];
}

int EventSource::firstKeyDown() const
{
    for (std::size_t key = 0; key < m_keys.size(); ++key)
        if (m_keys[key])
            return int(key);
    return -1;
}

std::uint32_t EventSource::mouseKeyState() const
{
    std::uint32_t keys = m_buttons;
    if (isKeyDown(VirtualKey::Shift))
        keys |= MouseKeys::Shift;
    if (isKeyDown(VirtualKey::Control))
        keys |= MouseKeys::Control;
    return keys;
}

void EventSource::releaseAllKeys()
{
    m_keys.fill(false);
    m_buttons = 0;
}

void EventSource::setKey(int virtualKey, bool down)
{
    if (virtualKey > 0 && virtualKey < int(m_keys.size()))
        m_keys[std::size_t(virtualKey)] = down;
}

void EventSource::translate(const SDL_Event& event, std::deque<WindowMessage>& out)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translateKey(event, out);
        break;
    case SDL_TEXTINPUT:
        translateText(event.text.text, out);
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        translateMouse(event, out);
        break;
    case SDL_WINDOWEVENT:
        translateWindowEvent(event, out);
        break;
    case SDL_QUIT: {
        WindowMessage message;
        message.type = MessageType::CloseRequest;
        out.push_back(message);
        break;
    }
    default:
        m_controllers.translate(event, out);
        break;
    }
}

// One character message per code point of the UTF-8 text; invalid bytes are dropped.
void EventSource::translateText(const char* text, std::deque<WindowMessage>& out)
{
    for (const char* c = text; *c != '\0';) {
        const Utf8::Unit unit = Utf8::decode(c);
        c += unit.length;
        if (unit.code == Utf8::kInvalid)
            continue;
        WindowMessage message;
        message.type = MessageType::Char;
        message.charCode = unit.code;
        out.push_back(message);
    }
}

void EventSource::translateKey(const SDL_Event& event, std::deque<WindowMessage>& out)
{
    if (event.key.windowID != m_window.id() && event.key.windowID != 0)
        return;
    int virtualKey = letterOrDigitKey(event.key.keysym.sym);
    if (virtualKey == 0)
        virtualKey = virtualKeyFromScancode(event.key.keysym.scancode);
    if (virtualKey == 0)
        return;
    const bool down = event.type == SDL_KEYDOWN;
    setKey(virtualKey, down);
    WindowMessage message;
    message.type = down ? MessageType::KeyDown : MessageType::KeyUp;
    message.virtualKey = virtualKey;
    message.repeat = down && event.key.repeat != 0;
    out.push_back(message);
    if (down && controlCharacterFor(virtualKey) != 0) {
        WindowMessage character;
        character.type = MessageType::Char;
        character.charCode = char32_t(controlCharacterFor(virtualKey));
        out.push_back(character);
    }
}

void EventSource::translateMouse(const SDL_Event& event, std::deque<WindowMessage>& out)
{
    const ScreenRect client = m_window.clientRect();
    WindowMessage message;
    if (event.type == SDL_MOUSEMOTION) {
        if (event.motion.windowID != m_window.id())
            return;
        m_pointer = {event.motion.x, event.motion.y};
        message.type = MessageType::MouseMove;
        message.x = event.motion.x - client.left;
        message.y = event.motion.y - client.top;
        message.keys = mouseKeyState();
        out.push_back(message);
        return;
    }
    if (event.button.windowID != m_window.id())
        return;
    m_pointer = {event.button.x, event.button.y};
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    std::uint32_t bit = 0;
    if (event.button.button == SDL_BUTTON_LEFT) {
        bit = MouseKeys::LeftButton;
        message.type = down ? MessageType::LeftButtonDown : MessageType::LeftButtonUp;
    } else if (event.button.button == SDL_BUTTON_RIGHT) {
        bit = MouseKeys::RightButton;
        message.type = down ? MessageType::RightButtonDown : MessageType::RightButtonUp;
    } else if (event.button.button == SDL_BUTTON_MIDDLE) {
        bit = MouseKeys::MiddleButton;
    }
    m_buttons = down ? (m_buttons | bit) : (m_buttons & ~bit);
    if (bit == 0 || bit == MouseKeys::MiddleButton)
        return;
    message.x = event.button.x - client.left;
    message.y = event.button.y - client.top;
    message.keys = mouseKeyState();
    out.push_back(message);
}

void EventSource::translateWindowEvent(const SDL_Event& event, std::deque<WindowMessage>& out)
{
    if (event.window.windowID != m_window.id())
        return;
    WindowMessage message;
    switch (event.window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        message.type = MessageType::FocusGained;
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        // Key releases that happen elsewhere never reach us.
        releaseAllKeys();
        message.type = MessageType::FocusLost;
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        message.type = MessageType::Minimized;
        break;
    case SDL_WINDOWEVENT_RESTORED:
        message.type = MessageType::Restored;
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        message.type = MessageType::SizeChanged;
        message.x = event.window.data1;
        message.y = event.window.data2;
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        message.type = MessageType::Exposed;
        break;
    case SDL_WINDOWEVENT_CLOSE:
        message.type = MessageType::CloseRequest;
        break;
    default:
        return;
    }
    out.push_back(message);
}
