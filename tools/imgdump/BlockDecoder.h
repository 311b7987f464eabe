#pragma once

#include <cstdint>
#include <vector>

// Expands the colour of DXT1, DXT3 and DXT5 blocks into RGB rows (alpha is
// not needed for a PPM). Rows come out in the order the blocks hold them.
class BlockDecoder {
public:
    static std::vector<std::uint8_t> decodeRgb(const std::uint8_t* blocks, int width, int height,
                                               int blockSize);
};
