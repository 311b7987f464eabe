// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "image/Image.h"

#include <cstddef>
#include <cstdint>

// Turns S3TC blocks (DXT1, DXT3, DXT5) into plain RGBA pixels, for pictures
// whose rows cannot be rearranged block by block.
class DxtDecoder {
public:
    // Bytes of blocks a width x height picture takes.
    static std::size_t blockBytes(PixelFormat format, int width, int height);
    // Writes width x height RGBA pixels, rows in the blocks' order, to `out`.
    static void decode(const std::uint8_t* blocks, PixelFormat format, int width, int height,
                       std::uint8_t* out);
};
