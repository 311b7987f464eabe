// SPDX-License-Identifier: GPL-3.0-or-later
#include "driver/WindowTestProcess.h"

#include <X11/Xlib.h>

#include <cstdlib>

void prepareWindowTestProcess()
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // Tests run side by side on one display and take the focus from each
    // other; SDL would then hold back the controller's input.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 0);
    // The X server resets when its last client leaves and refuses new ones
    // meanwhile; a game started again at once would find no display, and SDL
    // would quietly fall back to an off-screen driver. A connection of our own,
    // held until the process ends, keeps the server from resetting.
    static Display* const keeper = XOpenDisplay(nullptr);
    (void)keeper;
}
