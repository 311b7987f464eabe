#pragma once

// The drawing benchmarks set up the heap as the game's main does: the
// software renderer's buffers then come and go as they do in the game.

#include "platform/HugePageHeap.h"
#include "platform/ProcessMemory.h"

// First thing in main, before any thread starts.
inline void useTheGamesHeap()
{
    HugePageHeap::reserve(HugePageHeap::kGameBytes);
    // What the game adds once it sees it draws in software, as under Xvfb.
    ProcessMemory::keepFreed();
}
