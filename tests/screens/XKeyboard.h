// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/ToolRun.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>

// Keys typed on the X server into this process's game window, the way the
// keyboard sends them, not pushed into the game's own event queue.
class XKeyboard {
public:
    XKeyboard()
    {
        if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
            return;
        std::istringstream found(
            runTool("xdotool search --onlyvisible --pid " + std::to_string(::getpid())).output);
        // The last window is the visible one; SDL may have made helpers first.
        for (std::string line; std::getline(found, line);)
            m_window = line;
    }
    bool available() const { return !m_window.empty(); }
    // An xdotool key name or chord: "Down", "space", "shift+Tab".
    void key(const std::string& name) const
    {
        // What the key does shows on the screen; a failed command is named.
        const std::string command = "xdotool key --window " + m_window + " " + name;
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "failed: %s\n", command.c_str());
    }

private:
    std::string m_window;
};
