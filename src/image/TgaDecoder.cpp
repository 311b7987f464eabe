// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/TgaDecoder.h"

#include "image/Image.h"

#include <algorithm>

namespace {

constexpr std::size_t kHeaderSize = 18;

struct TgaHeader {
    std::size_t idLength;
    int imageType;
    int width;
    int height;
    int bytesPerPixel;
};

TgaHeader readHeader(const std::uint8_t* bytes)
{
    const int bits = bytes[16];
    return TgaHeader{bytes[0], bytes[2], bytes[12] | (bytes[13] << 8), bytes[14] | (bytes[15] << 8),
                     bits % 8 == 0 ? bits / 8 : 0};
}

// One file pixel (grey, B G R or B G R A) as R G B A.
void putPixel(const std::uint8_t* in, int bytesPerPixel, std::uint8_t* out)
{
    if (bytesPerPixel == 1) {
        out[0] = out[1] = out[2] = in[0];
        out[3] = 255;
        return;
    }
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
    out[3] = bytesPerPixel == 4 ? in[3] : 255;
}

bool decodeRaw(const std::uint8_t* in, std::size_t available, const TgaHeader& header,
               std::uint8_t* out, std::size_t pixelCount)
{
    const auto step = static_cast<std::size_t>(header.bytesPerPixel);
    if (available / step < pixelCount)
        return false;
    for (std::size_t i = 0; i < pixelCount; ++i)
        putPixel(in + i * step, header.bytesPerPixel, out + i * 4);
    return true;
}

// Packets may cross row ends but never the end of the picture or the file.
bool decodeRunLength(const std::uint8_t* in, std::size_t available, const TgaHeader& header,
                     std::uint8_t* out, std::size_t pixelCount)
{
    const auto step = static_cast<std::size_t>(header.bytesPerPixel);
    std::size_t pos = 0;
    std::size_t done = 0;
    while (done < pixelCount) {
        if (pos >= available)
            return false;
        const std::uint8_t packet = in[pos++];
        const std::size_t count = std::min<std::size_t>((packet & 127u) + 1, pixelCount - done);
        const bool repeated = packet >= 128;
        const std::size_t needed = repeated ? step : count * step;
        if (available - pos < needed)
            return false;
        for (std::size_t i = 0; i < count; ++i)
            putPixel(in + pos + (repeated ? 0 : i * step), header.bytesPerPixel,
                     out + (done + i) * 4);
        pos += needed;
        done += count;
    }
    return true;
}

// Checked before allocating: a run-length packet of 1 + pixel bytes covers at most 128 pixels.
std::size_t minimumDataSize(const TgaHeader& header, std::size_t pixelCount)
{
    const auto step = static_cast<std::size_t>(header.bytesPerPixel);
    if (header.imageType != 10)
        return pixelCount * step;
    return (pixelCount + 127) / 128 * (1 + step);
}

} // namespace

void TgaDecoder::decode(const std::uint8_t* bytes, std::size_t size, Image& image)
{
    if (size < kHeaderSize)
        return;
    const TgaHeader header = readHeader(bytes);
    const bool supportedDepth =
        header.bytesPerPixel == 1 || header.bytesPerPixel == 3 || header.bytesPerPixel == 4;
    if (!Image::sizeAllowed(header.width, header.height) || !supportedDepth)
        return;
    const std::size_t start = kHeaderSize + header.idLength;
    if (start > size)
        return;
    const auto pixelCount = static_cast<std::size_t>(header.width) * header.height;
    const std::uint8_t* in = bytes + start;
    const std::size_t available = size - start;

    const bool raw = header.imageType == 2 || header.imageType == 3;
    if ((!raw && header.imageType != 10) || available < minimumDataSize(header, pixelCount))
        return;
    image.setPicture(header.width, header.height, 4, PixelFormat::Rgba, false);
    std::uint8_t* out = image.allocatePixels(pixelCount * 4);
    const bool decoded = raw ? decodeRaw(in, available, header, out, pixelCount)
                             : decodeRunLength(in, available, header, out, pixelCount);
    if (decoded)
        image.markValid();
}
