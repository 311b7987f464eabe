// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds small image files in memory for the decoder, texture, sprite and font tests.

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct Rgba {
    std::uint8_t r, g, b, a;
};

// A picture as the eye sees it: row 0 is the top row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Picture(int w, int h, Rgba fill) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Rgba& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    const Rgba& at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// Type 2, 32 bits, rows bottom-up as a standard TGA stores them.
Bytes tgaFile(const Picture& picture);
// The 18-byte header alone, for hand-written pixel data.
Bytes tgaHeader(int imageType, int width, int height, int bitsPerPixel, int idLength = 0);

// Colour types as libpng names them; bitDepth 8 or 16.
Bytes pngFile(const Picture& picture, int colourType, int bitDepth = 8);
// Quality 100; grey keeps only the red channel.
Bytes jpegFile(const Picture& picture, bool grey = false);
// An 8 x 8 file of `components` channels in no colour space libjpeg knows.
Bytes jpegUnknownLayoutFile(int components);
// A progressive colour file one pixel wide whose components all use the
// largest sampling: every row of pixels is padded to 32 in the coefficients
// libjpeg keeps for the whole picture.
Bytes jpegPaddedProgressiveFile(int height);

// A plain DDS of the given bit depth (32, 24 or 8) holding rows as given
// (top row first, as DDS stores them), or a DXT file with whole blocks.
Bytes ddsPlainFile(int width, int height, int bits, const Bytes& data, int mipLevels = 1);
Bytes ddsCompressedFile(const char* fourCc, int width, int height, const Bytes& blocks,
                        int mipLevels = 1);

// One DXT1 block of a single colour (RGB 5:6:5).
Bytes dxt1SolidBlock(std::uint16_t colour565);

void writeFile(const std::string& path, const Bytes& bytes);
