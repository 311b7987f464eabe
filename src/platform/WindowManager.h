// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct SDL_Window;

// The program that arranges the desktop's windows, when there is one.
class WindowManager {
public:
    // True when a manager that follows the desktop conventions looks after
    // the window's screen; also true where that cannot be told, so callers
    // fall back on asking the manager.
    static bool runs(SDL_Window& window);
};
