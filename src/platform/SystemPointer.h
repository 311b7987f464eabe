// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The system's mouse pointer over the game window; the game draws its own.
class SystemPointer {
public:
    static void hide();
    static void show();
};
