#pragma once

#include <cstddef>

// The heap the start-up fills (decoded pictures, the software renderer's
// textures and buffers) faulted in two megabytes at a time instead of page by
// page: under a software renderer those faults were a third of the start-up.
class HugePageHeap {
public:
    // Enough for the game's pictures and buffers of the start-up, with room to spare.
    static constexpr std::size_t kGameBytes = std::size_t(64) << 20;

    // Every thread's blocks, large ones included, come from the one heap, which
    // grows `bytes` ahead of need; that range is handed huge pages when the
    // system gives them on request. Called first thing, before any thread
    // starts. False when nothing was reserved (another allocator, no growing
    // heap, no huge pages): allocation works as before.
    static bool reserve(std::size_t bytes);
};
