// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Reversible byte transformation used for the player's own files. The first
// output byte is a random rotation, the rest the rotated text chained with the key.
class Scrambler {
public:
    virtual ~Scrambler() = default;

    // Returns count + 1 bytes; an empty text or key gives an empty result.
    std::vector<std::uint8_t> scramble(const std::uint8_t* text, std::size_t count, const char* key,
                                       std::size_t keyLength) const;
    // Returns count - 1 bytes; fewer than 2 bytes or an empty key give an empty result.
    std::vector<std::uint8_t> unscramble(const std::uint8_t* bytes, std::size_t count,
                                         const char* key, std::size_t keyLength) const;
};
