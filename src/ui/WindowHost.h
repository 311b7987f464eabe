// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PlatformWindow.h"

// What windows and controls need from the program window they are shown in:
// the pointer, the held keys, the window's place and the way to close the
// top window. The shell implements it and installs itself while it lives.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    // The host in force, null when there is none (models tested without a window).
    static WindowHost* installed() { return s_installed; }
    // The host in force; a fatal error when there is none.
    static WindowHost& current();
    static void install(WindowHost* host) { s_installed = host; }

    virtual bool isKeyDown(int virtualKey) const = 0;
    // The pointer in client coordinates; negative left of or above the client area.
    virtual ScreenPoint pointerPosition() const = 0;
    // The pointer in screen coordinates.
    virtual ScreenPoint cursorScreenPosition() const = 0;
    virtual ScreenRect windowRect() const = 0;
    virtual void moveWindow(int x, int y) = 0;
    virtual int clientWidth() const = 0;
    virtual int clientHeight() const = 0;
    // The size of the picture the windows draw, in logical units.
    virtual int logicalWidth() const = 0;
    virtual int logicalHeight() const = 0;
    // Closes the top dialog, else the front screen (never the last one); now,
    // or at the start of the next update.
    virtual void close(bool now) = 0;

private:
    static inline WindowHost* s_installed = nullptr;
};
