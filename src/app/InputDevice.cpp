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
    if (m_window == nullptr || !m_window->isOpen())
        return {};
    const ScreenPoint cursor = PlatformWindow::cursorScreenPosition();
    const ScreenPoint origin = m_window->clientToScreen({0, 0});
    return {cursor.x - origin.x, cursor.y - origin.y};
}

bool InputDevice::keyDown(int virtualKey) const
{
    return m_events != nullptr && m_events->isKeyDown(virtualKey);
}

int InputDevice::firstKeyDown() const
{
    return m_events != nullptr ? m_events->firstKeyDown() : -1;
}
