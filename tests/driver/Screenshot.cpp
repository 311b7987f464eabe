// SPDX-License-Identifier: GPL-3.0-or-later
#include "driver/Screenshot.h"

#include <png.h>

#include <algorithm>
#include <cstdio>

namespace {

PixelRect clipped(const PixelRect& area, int width, int height)
{
    return {std::max(area.x0, 0), std::max(area.y0, 0), std::min(area.x1, width),
            std::min(area.y1, height)};
}

} // namespace

Rgb Screenshot::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return {};
    const std::size_t i = (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

int Screenshot::count(const PixelRect& area, const std::function<bool(Rgb)>& match) const
{
    const PixelRect r = clipped(area, width, height);
    int n = 0;
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x)
            n += match(at(x, y)) ? 1 : 0;
    return n;
}

Rgb Screenshot::mean(const PixelRect& area) const
{
    const PixelRect r = clipped(area, width, height);
    long sum[3] = {0, 0, 0};
    long n = 0;
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x, ++n) {
            const Rgb p = at(x, y);
            sum[0] += p.r;
            sum[1] += p.g;
            sum[2] += p.b;
        }
    if (n == 0)
        return {};
    return {int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)};
}

bool Screenshot::savePng(const std::string& path) const
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int row = 0; row < height; ++row)
            png_write_row(png, rgb.data() + std::size_t(row) * std::size_t(width) * 3);
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return written;
}
