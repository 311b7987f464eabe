// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ControllerInput.h"

#include "platform/VirtualKey.h"

namespace {

int directionIndex(ControllerButton direction)
{
    return int(direction) - int(ControllerButton::Left);
}

bool isDirection(ControllerButton button)
{
    return directionIndex(button) >= 0;
}

// In the order of ControllerButton.
constexpr int kKeys[] = {VirtualKey::Enter,       VirtualKey::Escape, VirtualKey::GamepadY,
                         VirtualKey::GamepadMenu, VirtualKey::Left,   VirtualKey::Right,
                         VirtualKey::Up,          VirtualKey::Down};

int keyOf(ControllerButton button)
{
    return kKeys[std::size_t(button)];
}

void send(int virtualKey, MessageType type, bool repeat, std::deque<WindowMessage>& out)
{
    WindowMessage message;
    message.type = type;
    message.virtualKey = virtualKey;
    message.repeat = repeat;
    message.fromController = true;
    out.push_back(message);
}

} // namespace

void ControllerInput::button(ControllerButton which, bool down, std::uint32_t now,
                             std::deque<WindowMessage>& out)
{
    if (isDirection(which)) {
        hold(which, Pad, down, now, out);
        return;
    }
    bool& held = m_buttons[std::size_t(which)];
    if (held == down)
        return;
    held = down;
    send(keyOf(which), down ? MessageType::KeyDown : MessageType::KeyUp, false, out);
}

void ControllerInput::stickX(int value, std::uint32_t now, std::deque<WindowMessage>& out)
{
    stickAxis(value, ControllerButton::Left, ControllerButton::Right, now, out);
}

void ControllerInput::stickY(int value, std::uint32_t now, std::deque<WindowMessage>& out)
{
    stickAxis(value, ControllerButton::Up, ControllerButton::Down, now, out);
}

void ControllerInput::stickAxis(int value, ControllerButton negative, ControllerButton positive,
                                std::uint32_t now, std::deque<WindowMessage>& out)
{
    for (ControllerButton side : {negative, positive}) {
        const int along = side == negative ? -value : value;
        const bool held = m_held[std::size_t(directionIndex(side))][Stick];
        if (!held && along > kStickPress)
            hold(side, Stick, true, now, out);
        else if (held && along < kStickRelease)
            hold(side, Stick, false, now, out);
    }
}

bool ControllerInput::isHeld(ControllerButton direction) const
{
    const auto& sources = m_held[std::size_t(directionIndex(direction))];
    return sources[Pad] || sources[Stick];
}

void ControllerInput::hold(ControllerButton direction, Source source, bool down, std::uint32_t now,
                           std::deque<WindowMessage>& out)
{
    const int index = directionIndex(direction);
    const bool wasHeld = isHeld(direction);
    m_held[std::size_t(index)][source] = down;
    if (wasHeld == isHeld(direction))
        return;
    send(keyOf(direction), down ? MessageType::KeyDown : MessageType::KeyUp, false, out);
    if (down) {
        m_repeating = index;
        m_nextRepeat = now + kRepeatDelay;
    } else if (m_repeating == index) {
        m_repeating = -1;
    }
}

void ControllerInput::repeatHeld(std::uint32_t now, std::deque<WindowMessage>& out)
{
    if (m_repeating < 0 || std::int32_t(now - m_nextRepeat) < 0)
        return;
    send(keyOf(ControllerButton(int(ControllerButton::Left) + m_repeating)), MessageType::KeyDown,
         true, out);
    // A stalled frame gives one repeat, not a burst.
    m_nextRepeat = now + kRepeatInterval;
}

void ControllerInput::releaseAll(std::deque<WindowMessage>& out)
{
    for (ControllerButton button :
         {ControllerButton::A, ControllerButton::B, ControllerButton::Y, ControllerButton::Start})
        this->button(button, false, 0, out);
    for (int index = 0; index < kDirections; ++index) {
        const auto direction = ControllerButton(int(ControllerButton::Left) + index);
        hold(direction, Pad, false, 0, out);
        hold(direction, Stick, false, 0, out);
    }
}
