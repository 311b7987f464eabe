#pragma once

#include <cstddef>
#include <string>

// Replaces a file as a whole: the bytes go to a temporary file in the same
// folder, which is then renamed over the old one, so a crash or a full disk
// never leaves a half-written file behind. On failure errno tells why.
class AtomicFile {
public:
    static bool write(const std::string& path, const void* bytes, std::size_t size);
};
