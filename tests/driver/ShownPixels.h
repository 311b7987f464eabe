// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "driver/Screenshot.h"
#include "platform/PlatformWindow.h"

// The client area of the game's window as the window system shows it (what
// the player sees), read back from the server after everything the game sent
// it has arrived. Empty when the window is not on an X display.
Screenshot shownInWindow(const ScreenRect& client);
