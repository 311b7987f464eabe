// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the process keeps the memory it frees.
class ProcessMemory {
public:
    // Under a software renderer: freed memory stays with the process.
    static void keepFreed();
};
