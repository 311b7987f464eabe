// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageBuilders.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <jpeglib.h>
#include <stdexcept>

namespace {

void put16(Bytes& out, std::size_t at, int value)
{
    out[at] = static_cast<std::uint8_t>(value & 0xff);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xff);
}

void put32(Bytes& out, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void appendToBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

int channelsOf(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    default:
        return 4;
    }
}

void appendChannels(Bytes& row, const Rgba& p, int colourType, int bitDepth)
{
    std::uint8_t values[4] = {p.r, p.g, p.b, p.a};
    int count = channelsOf(colourType);
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        values[1] = p.a;
    for (int i = 0; i < count; ++i) {
        row.push_back(values[i]);
        if (bitDepth == 16)
            row.push_back(values[i]); // v * 257 strips back to v
    }
}

Bytes ddsHeader(int width, int height, int mipLevels)
{
    Bytes out(128, 0);
    std::memcpy(out.data(), "DDS ", 4);
    put32(out, 4, 124);
    put32(out, 8, 0x1007 | (mipLevels > 1 ? 0x20000 : 0));
    put32(out, 12, static_cast<std::uint32_t>(height));
    put32(out, 16, static_cast<std::uint32_t>(width));
    put32(out, 28, static_cast<std::uint32_t>(mipLevels));
    put32(out, 76, 32);
    return out;
}

} // namespace

Bytes tgaHeader(int imageType, int width, int height, int bitsPerPixel, int idLength)
{
    Bytes out(18, 0);
    out[0] = static_cast<std::uint8_t>(idLength);
    out[2] = static_cast<std::uint8_t>(imageType);
    put16(out, 12, width);
    put16(out, 14, height);
    out[16] = static_cast<std::uint8_t>(bitsPerPixel);
    return out;
}

Bytes tgaFile(const Picture& picture)
{
    Bytes out = tgaHeader(2, picture.width, picture.height, 32);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgba& p = picture.at(x, y);
            out.insert(out.end(), {p.b, p.g, p.r, p.a});
        }
    }
    return out;
}

Bytes pngFile(const Picture& picture, int colourType, int bitDepth)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("png encoding failed");
    }
    png_set_write_fn(png, &out, appendToBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), bitDepth, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    Bytes row;
    for (int y = 0; y < picture.height; ++y) {
        row.clear();
        for (int x = 0; x < picture.width; ++x)
            appendChannels(row, picture.at(x, y), colourType, bitDepth);
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

namespace {

// Compresses `height` rows of `width` pixels, row y given by rowAt(y);
// `adjust` changes settings after the defaults.
Bytes jpegEncode(int width, int height, int components, J_COLOR_SPACE space,
                 const std::function<void(jpeg_compress_struct&)>& adjust,
                 const std::function<Bytes(int)>& rowAt)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    adjust(info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        Bytes row = rowAt(static_cast<int>(info.next_scanline));
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

} // namespace

Bytes jpegFile(const Picture& picture, bool grey)
{
    const auto rowAt = [&](int y) {
        Bytes row;
        for (int x = 0; x < picture.width; ++x) {
            const Rgba& p = picture.at(x, y);
            if (grey)
                row.push_back(p.r);
            else
                row.insert(row.end(), {p.r, p.g, p.b});
        }
        return row;
    };
    return jpegEncode(
        picture.width, picture.height, grey ? 1 : 3, grey ? JCS_GRAYSCALE : JCS_RGB,
        [](jpeg_compress_struct& info) { jpeg_set_quality(&info, 100, TRUE); }, rowAt);
}

Bytes jpegUnknownLayoutFile(int components)
{
    return jpegEncode(
        8, 8, components, JCS_UNKNOWN, [](jpeg_compress_struct&) {},
        [components](int) { return Bytes(static_cast<std::size_t>(8 * components), 128); });
}

Bytes jpegPaddedProgressiveFile(int height)
{
    // One component a scan: interleaved scans could not hold such sampling.
    static jpeg_scan_info scans[6];
    const auto adjust = [](jpeg_compress_struct& info) {
        for (int i = 0; i < 3; ++i) {
            info.comp_info[i].h_samp_factor = info.comp_info[i].v_samp_factor = 4;
            scans[2 * i] = jpeg_scan_info{1, {i}, 0, 0, 0, 0};
            scans[2 * i + 1] = jpeg_scan_info{1, {i}, 1, 63, 0, 0};
        }
        info.scan_info = scans;
        info.num_scans = 6;
    };
    return jpegEncode(1, height, 3, JCS_RGB, adjust, [](int) { return Bytes{200, 100, 50}; });
}

Bytes ddsPlainFile(int width, int height, int bits, const Bytes& data, int mipLevels)
{
    Bytes out = ddsHeader(width, height, mipLevels);
    put32(out, 80, bits == 8 ? 0x20000 : 0x40 | (bits == 32 ? 0x1 : 0));
    put32(out, 88, static_cast<std::uint32_t>(bits));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes ddsCompressedFile(const char* fourCc, int width, int height, const Bytes& blocks,
                        int mipLevels)
{
    Bytes out = ddsHeader(width, height, mipLevels);
    put32(out, 80, 0x4);
    std::memcpy(out.data() + 84, fourCc, 4);
    out.insert(out.end(), blocks.begin(), blocks.end());
    return out;
}

Bytes dxt1SolidBlock(std::uint16_t colour565)
{
    // Both end points the same colour, every index 0.
    return Bytes{static_cast<std::uint8_t>(colour565 & 0xff),
                 static_cast<std::uint8_t>(colour565 >> 8),
                 static_cast<std::uint8_t>(colour565 & 0xff),
                 static_cast<std::uint8_t>(colour565 >> 8),
                 0,
                 0,
                 0,
                 0};
}

void writeFile(const std::string& path, const Bytes& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}
