// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PlatformWindow.h"

// A client that stays connected between the runs, as a desktop's clients do:
// with none left the X server resets after each run, and the next run's start
// would wait for that.
struct DesktopClient {
    bool connected = PlatformWindow::startVideo();
    DesktopClient() = default;
    DesktopClient(const DesktopClient&) = delete;
    DesktopClient& operator=(const DesktopClient&) = delete;
    ~DesktopClient()
    {
        if (connected)
            PlatformWindow::stopVideo();
    }
};
