#include "BlockDecoder.h"

namespace {

struct Colour {
    int r, g, b;
};

Colour from565(unsigned value)
{
    const int r = static_cast<int>((value >> 11) & 31);
    const int g = static_cast<int>((value >> 5) & 63);
    const int b = static_cast<int>(value & 31);
    return Colour{(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
}

Colour mix(const Colour& a, const Colour& b, int wa, int wb)
{
    const int sum = wa + wb;
    return Colour{(a.r * wa + b.r * wb) / sum, (a.g * wa + b.g * wb) / sum,
                  (a.b * wa + b.b * wb) / sum};
}

// The four colours a block's 2-bit indices choose from; DXT1 blocks whose first
// end point is not above the second use three colours and black.
void palette(const std::uint8_t* block, bool threeColourMode, Colour out[4])
{
    const unsigned c0 = block[0] | (block[1] << 8);
    const unsigned c1 = block[2] | (block[3] << 8);
    out[0] = from565(c0);
    out[1] = from565(c1);
    if (c0 > c1 || !threeColourMode) {
        out[2] = mix(out[0], out[1], 2, 1);
        out[3] = mix(out[0], out[1], 1, 2);
    } else {
        out[2] = mix(out[0], out[1], 1, 1);
        out[3] = Colour{0, 0, 0};
    }
}

} // namespace

std::vector<std::uint8_t> BlockDecoder::decodeRgb(const std::uint8_t* blocks, int width,
                                                  int height, int blockSize)
{
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    const int blocksWide = (width + 3) / 4;
    const int blocksHigh = (height + 3) / 4;
    for (int by = 0; by < blocksHigh; ++by) {
        for (int bx = 0; bx < blocksWide; ++bx) {
            const std::uint8_t* block =
                blocks + (static_cast<std::size_t>(by) * blocksWide + bx) * blockSize +
                (blockSize == 16 ? 8 : 0);
            Colour colours[4];
            palette(block, blockSize == 8, colours);
            for (int y = 0; y < 4 && by * 4 + y < height; ++y) {
                for (int x = 0; x < 4 && bx * 4 + x < width; ++x) {
                    const Colour& c = colours[(block[4 + y] >> (2 * x)) & 3];
                    std::uint8_t* out =
                        &rgb[((static_cast<std::size_t>(by) * 4 + y) * width + bx * 4 + x) * 3];
                    out[0] = static_cast<std::uint8_t>(c.r);
                    out[1] = static_cast<std::uint8_t>(c.g);
                    out[2] = static_cast<std::uint8_t>(c.b);
                }
            }
        }
    }
    return rgb;
}
