// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowPlacement.h"

#include <gtest/gtest.h>

// Past an edge a window goes half way back; what starts above or left of the
// desktop, or is larger than it, goes to the corner.
TEST(KeepOnScreen, BringsTheWindowBackOntoTheDesktop)
{
    struct Case {
        int x, y, width, wantX, wantY;
    };
    for (const Case& c :
         {Case{1500, 100, 800, 750, 100}, Case{1000, 800, 800, 500, 400},
          Case{100, 100, 800, 100, 100}, Case{-300, -20, 800, 0, 0}, Case{900, 10, 2000, 0, 10}}) {
        const ScreenPoint point = WindowPlacement::keepOnScreen(c.x, c.y, c.width, 600, 1280, 1024);
        EXPECT_EQ(point.x, c.wantX) << c.x << "," << c.y;
        EXPECT_EQ(point.y, c.wantY) << c.x << "," << c.y;
    }
}
