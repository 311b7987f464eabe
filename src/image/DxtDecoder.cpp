// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/DxtDecoder.h"

#include <algorithm>
#include <array>

namespace {

using Colour = std::array<std::uint8_t, 4>;

int blockSizeOf(PixelFormat format)
{
    return format == PixelFormat::Dxt1 ? 8 : 16;
}

std::uint16_t readU16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

Colour from565(std::uint16_t value)
{
    const int r = (value >> 11) & 31;
    const int g = (value >> 5) & 63;
    const int b = value & 31;
    return Colour{static_cast<std::uint8_t>((r << 3) | (r >> 2)),
                  static_cast<std::uint8_t>((g << 2) | (g >> 4)),
                  static_cast<std::uint8_t>((b << 3) | (b >> 2)), 255};
}

Colour mix(const Colour& a, int weightA, const Colour& b, int weightB)
{
    Colour out{};
    for (int i = 0; i < 3; ++i)
        out[i] = static_cast<std::uint8_t>((a[i] * weightA + b[i] * weightB) / (weightA + weightB));
    out[3] = 255;
    return out;
}

// The four colours of a colour block; only DXT1 has the three-colour mode
// with transparent black.
std::array<Colour, 4> colourPalette(const std::uint8_t* block, bool threeColourMode)
{
    const std::uint16_t first = readU16(block);
    const std::uint16_t second = readU16(block + 2);
    const Colour c0 = from565(first);
    const Colour c1 = from565(second);
    if (threeColourMode && first <= second)
        return {c0, c1, mix(c0, 1, c1, 1), Colour{0, 0, 0, 0}};
    return {c0, c1, mix(c0, 2, c1, 1), mix(c0, 1, c1, 2)};
}

std::array<std::uint8_t, 8> alphaPalette(std::uint8_t a0, std::uint8_t a1)
{
    std::array<std::uint8_t, 8> alpha{a0, a1};
    const int steps = a0 > a1 ? 7 : 5;
    for (int i = 1; i < steps; ++i)
        alpha[i + 1] = static_cast<std::uint8_t>(((steps - i) * a0 + i * a1) / steps);
    if (steps == 5) {
        alpha[6] = 0;
        alpha[7] = 255;
    }
    return alpha;
}

// Alpha of the 16 pixels of a block, row by row.
std::array<std::uint8_t, 16> blockAlpha(const std::uint8_t* block, PixelFormat format)
{
    std::array<std::uint8_t, 16> alpha;
    alpha.fill(255);
    if (format == PixelFormat::Dxt3) {
        for (int i = 0; i < 16; ++i)
            alpha[i] = static_cast<std::uint8_t>(((block[i / 2] >> (4 * (i % 2))) & 15) * 17);
    } else if (format == PixelFormat::Dxt5) {
        const auto palette = alphaPalette(block[0], block[1]);
        std::uint64_t bits = 0;
        for (int i = 0; i < 6; ++i)
            bits |= static_cast<std::uint64_t>(block[2 + i]) << (8 * i);
        for (int i = 0; i < 16; ++i)
            alpha[i] = palette[(bits >> (3 * i)) & 7];
    }
    return alpha;
}

void decodeBlock(const std::uint8_t* block, PixelFormat format, int left, int top, int width,
                 int height, std::uint8_t* out)
{
    const bool dxt1 = format == PixelFormat::Dxt1;
    const std::uint8_t* colourBlock = dxt1 ? block : block + 8;
    const auto colours = colourPalette(colourBlock, dxt1);
    const auto alpha = blockAlpha(block, format);
    for (int row = 0; row < 4 && top + row < height; ++row) {
        for (int column = 0; column < 4 && left + column < width; ++column) {
            const int index = (colourBlock[4 + row] >> (2 * column)) & 3;
            Colour pixel = colours[index];
            if (!dxt1)
                pixel[3] = alpha[row * 4 + column];
            std::uint8_t* at =
                out + (static_cast<std::size_t>(top + row) * width + left + column) * 4;
            std::copy(pixel.begin(), pixel.end(), at);
        }
    }
}

} // namespace

std::size_t DxtDecoder::blockBytes(PixelFormat format, int width, int height)
{
    return static_cast<std::size_t>((width + 3) / 4) * ((height + 3) / 4) * blockSizeOf(format);
}

void DxtDecoder::decode(const std::uint8_t* blocks, PixelFormat format, int width, int height,
                        std::uint8_t* out)
{
    const auto blockSize = static_cast<std::size_t>(blockSizeOf(format));
    for (int top = 0; top < height; top += 4)
        for (int left = 0; left < width; left += 4, blocks += blockSize)
            decodeBlock(blocks, format, left, top, width, height, out);
}
