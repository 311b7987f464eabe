// SPDX-License-Identifier: GPL-3.0-or-later
// imgdump IN OUT.ppm: decodes IN with the game's decoders (chosen by the name's
// ending) and writes the pixels top-down as a binary PPM, alpha dropped.
#include "image/DxtDecoder.h"
#include "image/Image.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// One RGB pixel from a plain pixel of the image's format.
void toRgb(const std::uint8_t* in, PixelFormat format, std::uint8_t* out)
{
    switch (format) {
    case PixelFormat::Luminance:
        out[0] = out[1] = out[2] = in[0];
        break;
    case PixelFormat::Bgr:
    case PixelFormat::Bgra:
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        break;
    default:
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        break;
    }
}

// RGB rows bottom-up, as the image holds them.
std::vector<std::uint8_t> rgbRows(const Image& image)
{
    const std::size_t count = static_cast<std::size_t>(image.width()) * image.height();
    const std::uint8_t* pixels = image.pixels();
    PixelFormat format = image.format();
    std::vector<std::uint8_t> expanded;
    if (image.isCompressed()) {
        expanded.resize(count * 4);
        DxtDecoder::decode(pixels, format, image.width(), image.height(), expanded.data());
        pixels = expanded.data();
        format = PixelFormat::Rgba;
    }
    std::vector<std::uint8_t> rgb(count * 3);
    const auto step = static_cast<std::size_t>(image.isCompressed() ? 4 : image.components());
    for (std::size_t i = 0; i < count; ++i)
        toRgb(pixels + i * step, format, &rgb[i * 3]);
    return rgb;
}

bool writePpm(const std::string& path, const Image& image)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const std::vector<std::uint8_t> rgb = rgbRows(image);
    const auto rowBytes = static_cast<std::size_t>(image.width()) * 3;
    std::fprintf(file, "P6\n%d %d\n255\n", image.width(), image.height());
    for (int row = image.height() - 1; row >= 0; --row)
        std::fwrite(&rgb[static_cast<std::size_t>(row) * rowBytes], 1, rowBytes, file);
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: imgdump IN OUT.ppm\n");
        return 2;
    }
    Image image;
    image.load(argv[1], nullptr, 0);
    if (!image.isValid()) {
        std::fprintf(stderr,
                     "imgdump: %s cannot be decoded (missing, broken, or not a TGA, "
                     "PNG, JPEG or DDS file by its name)\n",
                     argv[1]);
        return 1;
    }
    std::printf("%s: width %d, height %d, components %d, format %d\n", argv[1], image.width(),
                image.height(), image.components(), static_cast<int>(image.format()));
    if (!writePpm(argv[2], image)) {
        std::fprintf(stderr, "imgdump: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
