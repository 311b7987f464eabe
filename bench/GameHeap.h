// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// play_bench makes its own context and draws under a software renderer (as
// under Xvfb): it keeps freed memory as the game does once its context
// reports that renderer (the menu benchmarks open the game's own window).

#include "platform/ProcessMemory.h"

inline void useTheGamesHeap()
{
    ProcessMemory::keepFreed();
}
