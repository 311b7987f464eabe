// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowPlacement.h"

namespace {

// The size of the window centred when there is no windowed place to return to.
constexpr int kCentredWidth = 800;
constexpr int kCentredHeight = 600;

} // namespace

ScreenPoint WindowPlacement::keepOnScreen(int x, int y, int width, int height, int screenWidth,
                                          int screenHeight)
{
    if (screenWidth <= x + width / 2)
        x = x / 2;
    if (screenHeight <= y + height / 2)
        y = y / 2;
    // A window left of or above the screen, or wider than it, shows its top-left corner.
    if (x < 0 || width >= screenWidth)
        x = 0;
    if (y < 0 || height >= screenHeight)
        y = 0;
    return {x, y};
}

void WindowPlacement::rememberWindowed(const ScreenRect& outer, int clientWidth, int clientHeight)
{
    m_windowedX = outer.left;
    m_windowedY = outer.top;
    m_windowedWidth = clientWidth;
    m_windowedHeight = clientHeight;
}

ScreenPoint WindowPlacement::windowedPlace(const ScreenRect& desktop) const
{
    if (m_windowedX >= 1 && m_windowedY >= 1)
        return {m_windowedX, m_windowedY};
    return {((desktop.right - desktop.left) - kCentredWidth) >> 1,
            ((desktop.bottom - desktop.top) - kCentredHeight) >> 1};
}
