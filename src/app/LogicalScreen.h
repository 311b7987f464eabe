// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The game's drawing space in logical units, whatever the window's size.
struct LogicalScreen {
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
};
