// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

// Replaces a file as a whole: the bytes go to a temporary file in the same
// folder, which is then renamed over the old one, so a crash or a full disk
// never leaves a half-written file behind. On failure errno tells why.
class AtomicFile {
public:
    // The folder is synced after the rename, so the new name survives a power cut.
    static bool write(const std::string& path, const void* bytes, std::size_t size);
    // Removes the temporary files (path.tmpPID) that writers which no longer
    // run left behind when they were interrupted; write does it first.
    static void removeLeftovers(const std::string& path);
};
