#include "FontAtlas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kFirst = 33;
constexpr int kLast = 126;
constexpr int kGap = 3;     // empty columns between glyphs and rows between lines
constexpr int kMarker = 2;  // width of the marker bar

struct Glyph {
    int left = 0;      // bitmap offset from the box's left edge
    int top = 0;       // bitmap rows above the baseline
    int box = 0;       // columns of the box
    int width = 0, rows = 0;
    std::vector<std::uint8_t> coverage;
};

struct FreeTypeFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FreeTypeFace(const std::string& path, int pixelSize)
    {
        if (FT_Init_FreeType(&library) || FT_New_Face(library, path.c_str(), 0, &face) ||
            FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)))
            throw std::runtime_error("cannot load the font " + path);
    }
    ~FreeTypeFace()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

Glyph renderGlyph(FT_Face face, int code)
{
    if (FT_Load_Char(face, FT_ULong(code), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT))
        throw std::runtime_error("the font lacks character " + std::to_string(code));
    FT_GlyphSlot slot = face->glyph;
    Glyph g;
    g.width = int(slot->bitmap.width);
    g.rows = int(slot->bitmap.rows);
    g.top = slot->bitmap_top;
    int advance = int((slot->advance.x + 32) >> 6);
    // The game adds one column of margin on each side of a box, so the box is
    // the advance less two columns, widened where the ink reaches beyond it.
    int boxStart = std::min(1, slot->bitmap_left);
    int boxEnd = std::max(advance - 1, slot->bitmap_left + g.width);
    g.left = slot->bitmap_left - boxStart;
    g.box = std::max(1, boxEnd - boxStart);
    for (int y = 0; y < g.rows; ++y)
        for (int x = 0; x < g.width; ++x)
            g.coverage.push_back(slot->bitmap.buffer[y * slot->bitmap.pitch + x]);
    return g;
}

void setAlpha(unsigned char* data, int stride, int x, int y, unsigned alpha)
{
    auto* pixel = reinterpret_cast<std::uint32_t*>(data + y * stride + x * 4);
    unsigned value = std::max(alpha, *pixel >> 24);
    *pixel = (value << 24) | (value << 16) | (value << 8) | value; // white, premultiplied
}

} // namespace

Surface renderFontAtlas(const std::string& ttfPath, int pixelSize, int imageWidth)
{
    FreeTypeFace font(ttfPath, pixelSize);
    std::vector<Glyph> glyphs;
    int ascent = 0, descent = 0;
    for (int c = kFirst; c <= kLast; ++c) {
        glyphs.push_back(renderGlyph(font.face, c));
        ascent = std::max(ascent, glyphs.back().top);
        descent = std::max(descent, glyphs.back().rows - glyphs.back().top);
    }
    // The game puts a tenth of the width of "A" after every character; taking
    // that (and one column of the bold face's ample bearings) off each box
    // keeps the text as compact as the layouts expect.
    int trim = (glyphs['A' - kFirst].box + 2 + 5) / 10 + 1;
    for (Glyph& g : glyphs)
        g.box = std::max({1, g.left + g.width, g.box - trim});
    // The marker reaches a little beyond the ink, a line gap that sets the
    // letters off from the line above and below.
    int pad = (ascent + descent) / 16;
    ascent += pad;
    descent += pad;
    int lineHeight = ascent + descent;
    int usable = imageWidth - 1; // the last column stays empty
    // Lay the glyphs out in lines first to learn the height.
    std::vector<std::pair<int, int>> places; // (line, x)
    int line = 0, x = kMarker + kGap;
    for (const Glyph& g : glyphs) {
        if (x + g.box + kGap > usable) {
            ++line;
            x = kMarker + kGap;
        }
        places.emplace_back(line, x);
        x += g.box + kGap;
    }
    int needed = (line + 1) * (lineHeight + kGap) + kGap;
    int height = 16;
    while (height < needed)
        height *= 2;

    Surface surface = makeSurface(imageWidth, height);
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    int stride = cairo_image_surface_get_stride(surface.get());
    for (int l = 0; l <= line; ++l) {
        int lineTop = kGap + l * (lineHeight + kGap);
        for (int y = lineTop; y < lineTop + lineHeight; ++y)
            for (int m = 0; m < kMarker; ++m)
                setAlpha(data, stride, m, y, 255);
    }
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Glyph& g = glyphs[i];
        auto [l, gx] = places[i];
        int baseline = kGap + l * (lineHeight + kGap) + ascent;
        for (int c = 0; c < g.box; ++c)
            setAlpha(data, stride, gx + c, baseline, 1);
        for (int y = 0; y < g.rows; ++y)
            for (int c = 0; c < g.width; ++c)
                setAlpha(data, stride, gx + g.left + c, baseline - g.top + y,
                         g.coverage[std::size_t(y) * g.width + c]);
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}
