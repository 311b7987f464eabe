// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

// A transparent ARGB picture of the given size.
Surface makeSurface(int width, int height);

// A TGA's pixels run-length packed (most pictures: their flat and clear
// areas shrink tenfold in the packs), or plain, as the font's reader needs.
enum class TgaPacking { RunLength, Plain };

// Writes by the name's ending: .png, .jpg (flattened on black) or .tga
// (32-bit, rows bottom-up as the game's reader expects).
void writeImage(cairo_surface_t* surface, const std::string& path, int jpegQuality,
                TgaPacking packing = TgaPacking::RunLength);

// A copy with every pixel turned to its luminance, alpha kept.
Surface grayCopy(cairo_surface_t* surface);

// Straight (not premultiplied) RGBA of one pixel.
struct Rgba {
    unsigned char r, g, b, a;
};
Rgba pixelAt(cairo_surface_t* surface, int x, int y);
