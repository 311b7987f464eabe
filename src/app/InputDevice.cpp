// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/InputDevice.h"

#include "platform/EventSource.h"

void InputDevice::create(const PlatformWindow& window, const EventSource& events)
{
    m_window = &window;
    m_events = &events;
}

void InputDevice::release()
{
    m_window = nullptr;
    m_events = nullptr;
}

ScreenPoint InputDevice::pointerPosition() const
{
    if (m_window == nullptr || m_events == nullptr || !m_window->isOpen())
        return {};
    const ScreenPoint pointer = m_events->pointer();
    const ScreenRect client = m_window->clientRect();
    return {pointer.x - client.left, pointer.y - client.top};
}

bool InputDevice::keyDown(int virtualKey) const
{
    return m_events != nullptr && m_events->isKeyDown(virtualKey);
}

bool InputDevice::joystickPresent() const
{
    return m_events != nullptr && m_events->controllers().openCount() > 0;
}

bool InputDevice::held(ControllerButton direction) const
{
    return m_events != nullptr && m_events->controllers().input().isHeld(direction);
}

int InputDevice::firstKeyDown() const
{
    return m_events != nullptr ? m_events->firstKeyDown() : -1;
}
