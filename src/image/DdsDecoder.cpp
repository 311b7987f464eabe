// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/DdsDecoder.h"

#include "image/DxtDecoder.h"
#include "image/Image.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kDataStart = 128; // magic and the 124-byte header
constexpr std::uint32_t kMipmapCountFlag = 0x20000;
constexpr std::uint32_t kFourCcFlag = 0x4;
constexpr std::uint32_t kVolumeFlag = 0x200000;
constexpr int kMaxLevels = 32;

std::uint32_t readU32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

struct DdsLayout {
    int width = 0;
    int height = 0;
    int depth = 1;
    int levels = 1;
    PixelFormat format = PixelFormat::Rgb;
    bool compressed = false;
    int bytesPerPixel = 0; // plain data
    int blockSize = 0;     // compressed data
};

bool readFormat(const std::uint8_t* bytes, DdsLayout& layout)
{
    const std::uint32_t pixelFlags = readU32(bytes + 80);
    if (pixelFlags & kFourCcFlag) {
        const char* fourCc = reinterpret_cast<const char*>(bytes + 84);
        layout.compressed = true;
        layout.blockSize = 16;
        if (std::memcmp(fourCc, "DXT1", 4) == 0) {
            layout.format = PixelFormat::Dxt1;
            layout.blockSize = 8;
        } else if (std::memcmp(fourCc, "DXT3", 4) == 0) {
            layout.format = PixelFormat::Dxt3;
        } else if (std::memcmp(fourCc, "DXT5", 4) == 0) {
            layout.format = PixelFormat::Dxt5;
        } else {
            return false;
        }
        return true;
    }
    switch (readU32(bytes + 88)) {
    case 32:
        layout.format = PixelFormat::Bgra;
        layout.bytesPerPixel = 4;
        return true;
    case 24:
        layout.format = PixelFormat::Bgr;
        layout.bytesPerPixel = 3;
        return true;
    case 8:
        layout.format = PixelFormat::Luminance;
        layout.bytesPerPixel = 1;
        return true;
    default:
        return false;
    }
}

bool readLayout(const std::uint8_t* bytes, std::size_t size, DdsLayout& layout)
{
    if (size < kDataStart || std::memcmp(bytes, "DDS ", 4) != 0)
        return false;
    const std::uint32_t height = readU32(bytes + 12);
    const std::uint32_t width = readU32(bytes + 16);
    if (!Image::sizeAllowed(width, height))
        return false;
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);
    const std::uint32_t caps2 = readU32(bytes + 112);
    if (caps2 & kVolumeFlag)
        layout.depth = static_cast<int>(std::clamp<std::uint32_t>(readU32(bytes + 24), 1, 16384));
    if (readU32(bytes + 8) & kMipmapCountFlag)
        layout.levels =
            static_cast<int>(std::clamp<std::uint32_t>(readU32(bytes + 28), 1, kMaxLevels));
    return readFormat(bytes, layout);
}

std::size_t levelSize(const DdsLayout& layout, int width, int height)
{
    if (layout.compressed)
        return DxtDecoder::blockBytes(layout.format, width, height);
    return static_cast<std::size_t>(width) * height * layout.bytesPerPixel;
}

// Flips the pixel rows inside one 4 x 4 block (only the first `rows` are used).
void flipBlock(std::uint8_t* block, PixelFormat format, int rows)
{
    if (rows < 2)
        return;
    auto flipBytes = [rows](std::uint8_t* at, int step) {
        for (int low = 0, high = rows - 1; low < high; ++low, --high)
            for (int i = 0; i < step; ++i)
                std::swap(at[low * step + i], at[high * step + i]);
    };
    std::uint8_t* colour = block;
    if (format == PixelFormat::Dxt3) {
        flipBytes(block, 2);
        colour = block + 8;
    } else if (format == PixelFormat::Dxt5) {
        std::uint64_t bits = 0;
        for (int i = 0; i < 6; ++i)
            bits |= static_cast<std::uint64_t>(block[2 + i]) << (8 * i);
        std::uint64_t flipped = bits;
        for (int row = 0; row < rows; ++row) {
            const std::uint64_t line = (bits >> (12 * (rows - 1 - row))) & 0xfff;
            flipped = (flipped & ~(0xfffull << (12 * row))) | (line << (12 * row));
        }
        for (int i = 0; i < 6; ++i)
            block[2 + i] = static_cast<std::uint8_t>(flipped >> (8 * i));
        colour = block + 8;
    }
    flipBytes(colour + 4, 1);
}

void flipLevel(std::uint8_t* data, const DdsLayout& layout, int width, int height)
{
    if (!layout.compressed) {
        const std::size_t row = static_cast<std::size_t>(width) * layout.bytesPerPixel;
        for (int low = 0, high = height - 1; low < high; ++low, --high)
            std::swap_ranges(data + low * row, data + (low + 1) * row, data + high * row);
        return;
    }
    const int blocksWide = (width + 3) / 4;
    const int blocksHigh = (height + 3) / 4;
    const std::size_t row = static_cast<std::size_t>(blocksWide) * layout.blockSize;
    for (int low = 0, high = blocksHigh - 1; low < high; ++low, --high)
        std::swap_ranges(data + low * row, data + (low + 1) * row, data + high * row);
    for (std::size_t i = 0; i < row * blocksHigh; i += layout.blockSize)
        flipBlock(data + i, layout.format, std::min(height, 4));
}

// Rows of blocks can only be flipped whole: a level taller than one block
// whose height is not a multiple of 4 would keep padding rows at its top.
bool blocksFlipCleanly(const DdsLayout& layout)
{
    for (int level = 0; level < layout.levels; ++level) {
        const int height = std::max(1, layout.height >> level);
        if (height > 4 && height % 4 != 0)
            return false;
    }
    return true;
}

// Such pictures are turned into plain RGBA pixels, which flip row by row.
DdsLayout decodedLayout(const DdsLayout& layout)
{
    DdsLayout plain = layout;
    plain.compressed = false;
    plain.format = PixelFormat::Rgba;
    plain.bytesPerPixel = 4;
    plain.blockSize = 0;
    return plain;
}

// Copies (or decodes) one level from the file and flips it.
void readLevel(const std::uint8_t* at, const DdsLayout& file, const DdsLayout& target, int width,
               int height, std::uint8_t* out)
{
    if (target.compressed == file.compressed)
        std::memcpy(out, at, levelSize(file, width, height));
    else
        DxtDecoder::decode(at, file.format, width, height, out);
    flipLevel(out, target, width, height);
}

} // namespace

// Reads the first face of a cube map (and the first slice of a volume) of every stored level;
// a level cut short by the end of the file ends the chain there.
void DdsDecoder::decode(const std::uint8_t* bytes, std::size_t size, Image& image)
{
    DdsLayout layout;
    if (!readLayout(bytes, size, layout))
        return;
    const std::size_t baseSize = levelSize(layout, layout.width, layout.height);
    if (size - kDataStart < baseSize)
        return;
    const DdsLayout target =
        layout.compressed && !blocksFlipCleanly(layout) ? decodedLayout(layout) : layout;
    const int components = target.compressed ? 4 : target.bytesPerPixel;
    image.setPicture(layout.width, layout.height, components, target.format, target.compressed);
    std::uint8_t* base = image.allocatePixels(levelSize(target, layout.width, layout.height));
    readLevel(bytes + kDataStart, layout, target, layout.width, layout.height, base);

    std::size_t offset = kDataStart + baseSize * layout.depth;
    for (int level = 1; level < layout.levels; ++level) {
        MipLevel mip;
        mip.width = std::max(1, layout.width >> level);
        mip.height = std::max(1, layout.height >> level);
        const std::size_t bytesInLevel = levelSize(layout, mip.width, mip.height);
        if (offset > size || size - offset < bytesInLevel)
            break;
        mip.data.resize(levelSize(target, mip.width, mip.height));
        readLevel(bytes + offset, layout, target, mip.width, mip.height, mip.data.data());
        image.addMipmap(std::move(mip));
        offset += bytesInLevel * std::max(1, layout.depth >> level);
    }
    image.markValid();
}
