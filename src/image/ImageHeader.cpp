// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/ImageHeader.h"

#include "image/Image.h"

#include <cstring>

namespace {

using Bytes = const std::uint8_t*;

unsigned bigEndian16(Bytes at)
{
    return (unsigned(at[0]) << 8) | at[1];
}

std::uint32_t bigEndian32(Bytes at)
{
    return (std::uint32_t(at[0]) << 24) | (std::uint32_t(at[1]) << 16) |
           (std::uint32_t(at[2]) << 8) | at[3];
}

std::optional<ImageHeader> described(std::size_t width, std::size_t height, int components)
{
    if (!Image::sizeAllowed(width, height))
        return std::nullopt;
    return ImageHeader{int(width), int(height), components};
}

// Types 2, 3 and 10 at 8, 24 or 32 bits always decode to RGBA.
std::optional<ImageHeader> readTga(Bytes bytes, std::size_t size)
{
    constexpr std::size_t kHeaderSize = 18;
    if (size < kHeaderSize)
        return std::nullopt;
    const int type = bytes[2];
    const int bits = bytes[16];
    if ((type != 2 && type != 3 && type != 10) || (bits != 8 && bits != 24 && bits != 32))
        return std::nullopt;
    return described(bytes[12] | (bytes[13] << 8), bytes[14] | (bytes[15] << 8), 4);
}

// Palette and grey pictures become RGB; a transparency chunk before the
// pixel data adds alpha.
std::optional<ImageHeader> readPng(Bytes bytes, std::size_t size)
{
    static constexpr std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    constexpr std::size_t kFirstChunk = 8;
    if (size < kFirstChunk + 8 + 13 || std::memcmp(bytes, kSignature, 8) != 0 ||
        std::memcmp(bytes + kFirstChunk + 4, "IHDR", 4) != 0)
        return std::nullopt;
    Bytes header = bytes + kFirstChunk + 8;
    const int colourType = header[9];
    bool alpha = colourType == 4 || colourType == 6;
    if (colourType != 0 && colourType != 2 && colourType != 3 && !alpha)
        return std::nullopt;
    for (std::size_t at = kFirstChunk; size - at >= 8 && !alpha;) {
        Bytes chunk = bytes + at;
        if (std::memcmp(chunk + 4, "IDAT", 4) == 0)
            break;
        alpha = std::memcmp(chunk + 4, "tRNS", 4) == 0;
        const std::uint64_t next = std::uint64_t(at) + 12 + bigEndian32(chunk);
        if (next > size)
            return std::nullopt;
        at = std::size_t(next);
    }
    return described(bigEndian32(header), bigEndian32(header + 4), alpha ? 4 : 3);
}

bool isFrameMarker(int marker)
{
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

// Walks the markers to the first frame header: grey or colour only.
std::optional<ImageHeader> readJpeg(Bytes bytes, std::size_t size)
{
    if (size < 4 || bytes[0] != 0xff || bytes[1] != 0xd8)
        return std::nullopt;
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (bytes[at] != 0xff)
            return std::nullopt;
        const int marker = bytes[at + 1];
        if (marker == 0xff) {
            ++at;
            continue;
        }
        const std::size_t length = bigEndian16(bytes + at + 2);
        if (isFrameMarker(marker)) {
            if (length < 8 || size - at < 10)
                return std::nullopt;
            const int components = bytes[at + 9];
            if (components != 1 && components != 3)
                return std::nullopt;
            return described(bigEndian16(bytes + at + 7), bigEndian16(bytes + at + 5), components);
        }
        at += 2 + length;
    }
    return std::nullopt;
}

} // namespace

std::optional<ImageHeader> ImageHeader::read(const std::string& name, const std::uint8_t* bytes,
                                             std::size_t size)
{
    if (bytes == nullptr)
        return std::nullopt;
    switch (Image::kindForName(name)) {
    case ImageKind::Tga:
        return readTga(bytes, size);
    case ImageKind::Png:
        return readPng(bytes, size);
    case ImageKind::Jpeg:
        return readJpeg(bytes, size);
    default:
        return std::nullopt;
    }
}
