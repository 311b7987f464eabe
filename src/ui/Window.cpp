// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Window.h"

#include "platform/VirtualKey.h"
#include "ui/Control.h"
#include "ui/WindowHost.h"

namespace {

bool shiftHeld()
{
    const WindowHost* host = WindowHost::installed();
    return host != nullptr && host->isKeyDown(VirtualKey::Shift);
}

int toLogical(int value, int clientSize, int logicalSize)
{
    if (clientSize <= 0 || logicalSize <= 0)
        return value;
    return int(float(value) / (float(clientSize) / float(logicalSize)));
}

} // namespace

int Window::toLogicalX(int x)
{
    const WindowHost& shell = WindowHost::current();
    return toLogical(x, shell.clientWidth(), shell.logicalWidth());
}

int Window::toLogicalY(int y)
{
    const WindowHost& shell = WindowHost::current();
    return toLogical(y, shell.clientHeight(), shell.logicalHeight());
}

void Window::onMouseMove(int x, int y, std::uint32_t keys)
{
    if (m_dragging && m_draggable)
        dragWindow();
    bool onControl = false;
    for (Control* control : m_controls)
        if (control->onMouseMove(x, y, keys)) {
            onControl = true;
            followMouse(*control);
        }
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
    const ScreenPoint cursor = WindowHost::current().cursorScreenPosition();
    m_anchorX = cursor.x;
    m_anchorY = cursor.y;
    KeyboardFocus::setShown(false);
    bool onControl = false;
    for (Control* control : m_controls)
        onControl = control->onLeftButtonDown(x, y, keys) || onControl;
    if (onControl)
        m_dragging = false;
}

bool Window::isDragArea(int x, int y) const
{
    if (!m_draggable)
        return false;
    for (const Control* control : m_controls)
        if (control->isUnder(x, y))
            return false;
    return true;
}

void Window::onKeyDown(int virtualKey)
{
    for (Control* control : m_controls)
        control->onKeyDown(virtualKey);
}

void Window::keyDown(int virtualKey)
{
    if (!m_focusEnabled || !onFocusKey(virtualKey))
        onKeyDown(virtualKey);
}

bool Window::onFocusKey(int virtualKey)
{
    Control* focused = focusedControl();
    if (focused == nullptr || focused->keepsKey(virtualKey))
        return false;
    const bool shown = KeyboardFocus::isShown();
    const bool back = virtualKey == VirtualKey::Up || virtualKey == VirtualKey::Left;
    switch (virtualKey) {
    case VirtualKey::Tab:
        if (shown)
            m_focus.step(m_controls, shiftHeld() ? -1 : 1, KeyboardFocus::Step::Wrap);
        break;
    case VirtualKey::Up:
    case VirtualKey::Down:
    case VirtualKey::Left:
    case VirtualKey::Right:
        if (shown)
            m_focus.step(m_controls, back ? -1 : 1, KeyboardFocus::Step::StopAtEnds);
        break;
    case VirtualKey::Enter:
    case VirtualKey::GamepadMenu:
        if (!shown)
            return false;
        [[fallthrough]];
    case VirtualKey::Space:
        KeyboardFocus::setShown(true);
        // The press may open or close windows, this one too: nothing after it.
        if (shown)
            focused->press();
        return true;
    default:
        return false;
    }
    // A hover look left by the mouse would read as a second focus.
    for (Control* control : m_controls)
        control->reset();
    KeyboardFocus::setShown(true);
    return true;
}

Control* Window::focusedControl()
{
    return m_focusEnabled ? m_focus.ensure(m_controls) : nullptr;
}

void Window::followMouse(Control& control)
{
    if (!m_focusEnabled || !control.canFocus())
        return;
    m_focus.moveTo(&control);
    KeyboardFocus::setShown(false);
}

void Window::onKeyRepeat(int virtualKey)
{
    if (VirtualKey::isArrow(virtualKey)) {
        keyDown(virtualKey);
        return;
    }
    for (Control* control : m_controls)
        control->onKeyDown(virtualKey);
}

void Window::onChar(char32_t charCode, std::uint16_t repeatCount)
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
    m_focus.update(dt);
}

void Window::render()
{
    for (Control* control : m_controls)
        control->render();
    if (focusedControl() != nullptr)
        m_focus.render();
}

void Window::activate()
{
    m_dragging = false;
    for (Control* control : m_controls)
        control->reset();
}

void Window::dragWindow()
{
    WindowHost& shell = WindowHost::current();
    const ScreenRect rect = shell.windowRect();
    const ScreenPoint cursor = shell.cursorScreenPosition();
    shell.moveWindow(rect.left + cursor.x - m_anchorX, rect.top + cursor.y - m_anchorY);
    m_anchorX = cursor.x;
    m_anchorY = cursor.y;
}

bool Window::cursorInsideWindow() const
{
    const WindowHost& shell = WindowHost::current();
    const ScreenRect rect = shell.windowRect();
    const ScreenPoint cursor = shell.cursorScreenPosition();
    return rect.left <= cursor.x && cursor.x <= rect.right && rect.top <= cursor.y &&
           cursor.y <= rect.bottom;
}
