// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

class Image;

// Decodes a whole Png file held in memory into the image; leaves it invalid
// when the file is broken, truncated or of a kind not supported.
class PngDecoder {
public:
    static void decode(const std::uint8_t* bytes, std::size_t size, Image& image);
};
