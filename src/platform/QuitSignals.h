// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// SIGINT, SIGTERM and SIGHUP (a closed terminal or session) ask the program
// to close the way its window's close button does, so the game, the scores
// and the settings are saved. A second signal of the same kind ends the
// program at once, for a close that hangs.
class QuitSignals {
public:
    // Before the library starts, which would otherwise take SIGINT and SIGTERM
    // for itself only while it runs.
    static void install();
    // True once for each signal that arrived since the last call.
    static bool takePending();
};
