// SPDX-License-Identifier: GPL-3.0-or-later
#include "Raster.h"

#include <jpeglib.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openForWriting(const std::string& path)
{
    File file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw std::runtime_error("cannot write " + path);
    return file;
}

// Pixels bottom row first, as B, G, R, A.
std::vector<std::uint32_t> tgaPixels(cairo_surface_t* s)
{
    int w = cairo_image_surface_get_width(s);
    int h = cairo_image_surface_get_height(s);
    std::vector<std::uint32_t> pixels;
    pixels.reserve(std::size_t(w) * h);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            Rgba p = pixelAt(s, x, y);
            pixels.push_back(p.b | p.g << 8 | p.r << 16 | std::uint32_t(p.a) << 24);
        }
    return pixels;
}

void putPixel(std::vector<std::uint8_t>& bytes, std::uint32_t pixel)
{
    for (int k = 0; k < 4; ++k)
        bytes.push_back(std::uint8_t(pixel >> (8 * k)));
}

// Packets of up to 128 pixels: a repeated pixel, or pixels as they come.
void putRunLength(std::vector<std::uint8_t>& bytes, const std::vector<std::uint32_t>& pixels)
{
    std::size_t at = 0;
    while (at < pixels.size()) {
        std::size_t run = 1;
        while (at + run < pixels.size() && run < 128 && pixels[at + run] == pixels[at])
            ++run;
        if (run > 1) {
            bytes.push_back(std::uint8_t(127 + run));
            putPixel(bytes, pixels[at]);
            at += run;
            continue;
        }
        std::size_t literal = 1;
        while (
            at + literal < pixels.size() && literal < 128 &&
            !(at + literal + 1 < pixels.size() && pixels[at + literal + 1] == pixels[at + literal]))
            ++literal;
        bytes.push_back(std::uint8_t(literal - 1));
        for (std::size_t k = 0; k < literal; ++k)
            putPixel(bytes, pixels[at + k]);
        at += literal;
    }
}

void writeTga(cairo_surface_t* s, const std::string& path, TgaPacking packing)
{
    int w = cairo_image_surface_get_width(s);
    int h = cairo_image_surface_get_height(s);
    std::vector<std::uint8_t> bytes(18);
    bytes[2] = packing == TgaPacking::RunLength ? 10 : 2;
    bytes[12] = std::uint8_t(w & 255);
    bytes[13] = std::uint8_t(w >> 8);
    bytes[14] = std::uint8_t(h & 255);
    bytes[15] = std::uint8_t(h >> 8);
    bytes[16] = 32;
    bytes[17] = 8; // eight alpha bits, origin bottom left
    const std::vector<std::uint32_t> pixels = tgaPixels(s);
    if (packing == TgaPacking::RunLength) {
        putRunLength(bytes, pixels);
    } else {
        for (std::uint32_t pixel : pixels)
            putPixel(bytes, pixel);
    }
    File file = openForWriting(path);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw std::runtime_error("cannot write " + path);
}

void writeJpeg(cairo_surface_t* s, const std::string& path, int quality)
{
    int w = cairo_image_surface_get_width(s);
    int h = cairo_image_surface_get_height(s);
    File file = openForWriting(path);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = JDIMENSION(w);
    info.image_height = JDIMENSION(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Rgba p = pixelAt(s, x, y);
            // Flatten on black: premultiplied colour over black is the colour times alpha.
            row[x * 3] = JSAMPLE(p.r * p.a / 255);
            row[x * 3 + 1] = JSAMPLE(p.g * p.a / 255);
            row[x * 3 + 2] = JSAMPLE(p.b * p.a / 255);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
}

} // namespace

Surface makeSurface(int width, int height)
{
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot make a " + std::to_string(width) + " x " +
                                 std::to_string(height) + " picture");
    return s;
}

Rgba pixelAt(cairo_surface_t* s, int x, int y)
{
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    std::uint32_t v =
        *reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * stride + x * 4);
    unsigned a = v >> 24;
    auto straight = [a](unsigned c) { return a == 0 ? 0u : (c * 255 + a / 2) / a; };
    return Rgba{static_cast<unsigned char>(straight((v >> 16) & 255)),
                static_cast<unsigned char>(straight((v >> 8) & 255)),
                static_cast<unsigned char>(straight(v & 255)), static_cast<unsigned char>(a)};
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    auto& bytes = *static_cast<std::vector<unsigned char>*>(closure);
    bytes.insert(bytes.end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

// Cairo marks every PNG with a white background chunk; the game's decoder
// composites a picture onto such a colour and its transparency would be lost.
std::vector<unsigned char> withoutBackgroundChunk(const std::vector<unsigned char>& png)
{
    constexpr std::size_t kSignature = 8;
    std::vector<unsigned char> out(png.begin(), png.begin() + std::ptrdiff_t(kSignature));
    std::size_t at = kSignature;
    while (at + 12 <= png.size()) {
        const std::size_t length = (std::size_t(png[at]) << 24) | (std::size_t(png[at + 1]) << 16) |
                                   (std::size_t(png[at + 2]) << 8) | std::size_t(png[at + 3]);
        const std::size_t chunk = 12 + length;
        if (at + chunk > png.size())
            throw std::runtime_error("cairo wrote a broken PNG");
        if (std::string(png.begin() + std::ptrdiff_t(at + 4),
                        png.begin() + std::ptrdiff_t(at + 8)) != "bKGD")
            out.insert(out.end(), png.begin() + std::ptrdiff_t(at),
                       png.begin() + std::ptrdiff_t(at + chunk));
        at += chunk;
    }
    return out;
}

void writePng(cairo_surface_t* s, const std::string& path)
{
    std::vector<unsigned char> png;
    if (cairo_surface_write_to_png_stream(s, appendBytes, &png) != CAIRO_STATUS_SUCCESS ||
        png.size() < 8)
        throw std::runtime_error("cannot write " + path);
    const std::vector<unsigned char> bytes = withoutBackgroundChunk(png);
    File file = openForWriting(path);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw std::runtime_error("cannot write " + path);
}

void writeImage(cairo_surface_t* s, const std::string& path, int jpegQuality, TgaPacking packing)
{
    if (endsWith(path, ".png")) {
        writePng(s, path);
    } else if (endsWith(path, ".jpg")) {
        writeJpeg(s, path, jpegQuality);
    } else if (endsWith(path, ".tga")) {
        writeTga(s, path, packing);
    } else {
        throw std::runtime_error("no image writer for " + path);
    }
}

Surface grayCopy(cairo_surface_t* source)
{
    int w = cairo_image_surface_get_width(source);
    int h = cairo_image_surface_get_height(source);
    Surface copy = makeSurface(w, h);
    cairo_surface_flush(source);
    const unsigned char* from = cairo_image_surface_get_data(source);
    unsigned char* to = cairo_image_surface_get_data(copy.get());
    int fromStride = cairo_image_surface_get_stride(source);
    int toStride = cairo_image_surface_get_stride(copy.get());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t v =
                *reinterpret_cast<const std::uint32_t*>(from + y * fromStride + x * 4);
            unsigned r = (v >> 16) & 255, g = (v >> 8) & 255, b = v & 255;
            // Luminance, a little darkened so the empty gauge reads as empty.
            unsigned l = (r * 54 + g * 183 + b * 19) / 256 * 3 / 4;
            *reinterpret_cast<std::uint32_t*>(to + y * toStride + x * 4) =
                (v & 0xff000000u) | (l << 16) | (l << 8) | l;
        }
    cairo_surface_mark_dirty(copy.get());
    return copy;
}
