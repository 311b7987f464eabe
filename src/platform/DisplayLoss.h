// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// What the program does when its X server goes away under it (the session
// ended, the server died). Xlib then calls its IO error handler, which must
// not return: the program says so, runs the last words given here once,
// without the display, and exits with kExitCode.
class DisplayLoss {
public:
    static constexpr int kExitCode = 1;

    // Takes Xlib's IO error handler for the program; once the window is open,
    // so nothing the library does at its start puts another in its place.
    static void watch();
    // What runs before the exit: it must need no display, nor the library's
    // video or OpenGL. Empty for nothing.
    static void setLastWords(std::function<void()> lastWords);
};
