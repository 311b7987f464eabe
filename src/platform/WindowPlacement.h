// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PlatformWindow.h"

// Where the program window stands: kept on the desktop when it opens, and
// back at its windowed place and size when full screen ends.
class WindowPlacement {
public:
    // Keeps a window of the given size on a screen of the given size.
    static ScreenPoint keepOnScreen(int x, int y, int width, int height, int screenWidth,
                                    int screenHeight);

    // Before full screen: the window's place and its client area's size.
    void rememberWindowed(const ScreenRect& outer, int clientWidth, int clientHeight);
    int windowedWidth() const { return m_windowedWidth; }
    int windowedHeight() const { return m_windowedHeight; }
    // Where the window goes back to: its remembered place, or the middle of
    // the desktop for a window that stood against its top or left edge.
    ScreenPoint windowedPlace(const ScreenRect& desktop) const;

private:
    int m_windowedX = 0;
    int m_windowedY = 0;
    int m_windowedWidth = 0;
    int m_windowedHeight = 0;
};
