#include "ui/Window.h"

#include "app/Application.h"
#include "platform/VirtualKey.h"
#include "ui/Control.h"

namespace {

int toLogical(int value, int clientSize, int logicalSize)
{
    if (clientSize <= 0 || logicalSize <= 0)
        return value;
    return int(float(value) / (float(clientSize) / float(logicalSize)));
}

} // namespace

int Window::toLogicalX(int x)
{
    Application& application = Application::get();
    return toLogical(x, application.clientWidth(), application.camera().logicalWidth());
}

int Window::toLogicalY(int y)
{
    Application& application = Application::get();
    return toLogical(y, application.clientHeight(), application.camera().logicalHeight());
}

void Window::onMouseMove(int x, int y, std::uint32_t keys)
{
    if (m_dragging && m_draggable)
        dragWindow();
    bool onControl = false;
    for (Control* control : m_controls)
        onControl = control->onMouseMove(x, y, keys) || onControl;
    if (onControl)
        m_dragging = false;
}

void Window::onLeftButtonUp(int x, int y, std::uint32_t keys)
{
    m_dragging = false;
    for (Control* control : m_controls)
        if (control->onLeftButtonUp(x, y, keys))
            m_dragging = false;
}

void Window::onRightButtonUp(int x, int y, std::uint32_t keys)
{
    m_dragging = false;
    for (Control* control : m_controls)
        control->onRightButtonUp(x, y, keys);
}

void Window::onLeftButtonDown(int x, int y, std::uint32_t keys)
{
    m_dragging = true;
    const ScreenPoint cursor = Application::get().cursorScreenPosition();
    m_anchorX = cursor.x;
    m_anchorY = cursor.y;
    bool onControl = false;
    for (Control* control : m_controls)
        onControl = control->onLeftButtonDown(x, y, keys) || onControl;
    if (onControl)
        m_dragging = false;
}

void Window::onKeyDown(int virtualKey)
{
    for (Control* control : m_controls)
        control->onKeyDown(virtualKey);
}

void Window::onKeyRepeat(int virtualKey)
{
    if (VirtualKey::isArrow(virtualKey)) {
        onKeyDown(virtualKey);
        return;
    }
    for (Control* control : m_controls)
        control->onKeyDown(virtualKey);
}

void Window::onChar(std::uint16_t charCode, std::uint16_t repeatCount)
{
    for (Control* control : m_controls)
        control->onChar(charCode, repeatCount);
}

void Window::onControl(Control&)
{
    m_dragging = false;
}

void Window::update(float dt)
{
    if (m_dragging && !cursorInsideWindow())
        m_dragging = false;
    for (Control* control : m_controls)
        control->update(dt);
}

void Window::render()
{
    for (Control* control : m_controls)
        control->render();
}

void Window::activate()
{
    m_dragging = false;
    for (Control* control : m_controls)
        control->reset();
}

void Window::dragWindow()
{
    Application& application = Application::get();
    const ScreenRect rect = application.windowRect();
    const ScreenPoint cursor = application.cursorScreenPosition();
    application.moveWindow(rect.left + cursor.x - m_anchorX, rect.top + cursor.y - m_anchorY);
    m_anchorX = cursor.x;
    m_anchorY = cursor.y;
}

bool Window::cursorInsideWindow() const
{
    Application& application = Application::get();
    const ScreenRect rect = application.windowRect();
    const ScreenPoint cursor = application.cursorScreenPosition();
    return rect.left <= cursor.x && cursor.x <= rect.right && rect.top <= cursor.y &&
           cursor.y <= rect.bottom;
}
