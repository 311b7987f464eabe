// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontAtlas.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kFirst = 33;
constexpr int kLast = 126;
constexpr int kGap = 3;    // empty columns between glyphs and rows between lines
constexpr int kMarker = 2; // width of the marker bar
// Edge columns fainter than this are antialiasing dust: they would widen a
// glyph's run of ink without showing.
constexpr unsigned kFaintColumn = 40;
// The word space, in ems, that the box of the space run (its ink and the game's one
// column of margin on each side) makes.
constexpr double kWordSpace = 0.44;

struct Glyph {
    int top = 0; // bitmap rows above the baseline
    int width = 0, rows = 0;
    std::vector<std::uint8_t> coverage;

    unsigned columnPeak(int x) const
    {
        unsigned peak = 0;
        for (int y = 0; y < rows; ++y)
            peak = std::max<unsigned>(peak, coverage[std::size_t(y) * width + x]);
        return peak;
    }
    // Keeps the columns from..to-1.
    void cropColumns(int from, int to)
    {
        std::vector<std::uint8_t> kept;
        for (int y = 0; y < rows; ++y)
            for (int x = from; x < to; ++x)
                kept.push_back(coverage[std::size_t(y) * width + x]);
        coverage = std::move(kept);
        width = to - from;
    }
    // Empty columns inside a glyph (between the strokes of '"') get an
    // invisible dot, so the game's column scan sees one run of ink.
    void bridgeGaps()
    {
        for (int x = 0; x < width; ++x)
            if (columnPeak(x) == 0)
                coverage[std::size_t(rows / 2) * width + x] = 1;
    }
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

// The outline of a character, hinted, narrowed (or widened) to `squeeze` of its
// width and emboldened by what a narrowing takes from its strokes.
FT_GlyphSlot loadOutline(FT_Face face, int code, double squeeze)
{
    if (FT_Load_Char(face, FT_ULong(code), FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        throw std::runtime_error("the font lacks character " + std::to_string(code));
    FT_GlyphSlot slot = face->glyph;
    if (squeeze != 1.0) {
        FT_Matrix narrow{FT_Fixed(squeeze * 65536), 0, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &narrow);
    }
    if (squeeze < 1.0) {
        // A stem about a sixth of an em wide loses (1 - squeeze) of that width.
        FT_Pos stem = FT_Pos(face->size->metrics.x_ppem * 64 / 6);
        FT_Outline_EmboldenXY(&slot->outline, FT_Pos((1.0 - squeeze) * stem * 0.25), 0);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_LIGHT))
        throw std::runtime_error("cannot render character " + std::to_string(code));
    return slot;
}

Glyph renderGlyph(FT_Face face, int code, double squeeze = 1.0)
{
    FT_GlyphSlot slot = loadOutline(face, code, squeeze);
    Glyph g;
    g.width = int(slot->bitmap.width);
    g.rows = int(slot->bitmap.rows);
    g.top = slot->bitmap_top;
    for (int y = 0; y < g.rows; ++y)
        for (int x = 0; x < g.width; ++x)
            g.coverage.push_back(slot->bitmap.buffer[y * slot->bitmap.pitch + x]);
    int from = 0, to = g.width;
    while (from < to && g.columnPeak(from) < kFaintColumn)
        ++from;
    while (to > from && g.columnPeak(to - 1) < kFaintColumn)
        --to;
    if (from == to)
        throw std::runtime_error("character " + std::to_string(code) + " has no ink");
    g.cropColumns(from, to);
    g.bridgeGaps();
    return g;
}

// The run after the glyphs that tells the game the word space: its box (ink
// and two margin columns) is the space. Its ink is too faint to show.
Glyph spaceRun(int width, int top)
{
    Glyph g;
    g.width = std::max(1, width);
    g.rows = 1;
    g.top = top;
    g.coverage.assign(std::size_t(g.width), 1);
    return g;
}

int spaceRunWidth(FT_Face face)
{
    return int(kWordSpace * face->size->metrics.x_ppem + 0.5) - 2;
}

void setAlpha(unsigned char* data, int stride, int x, int y, unsigned alpha)
{
    auto* pixel = reinterpret_cast<std::uint32_t*>(data + y * stride + x * 4);
    unsigned value = std::max(alpha, *pixel >> 24);
    *pixel = (value << 24) | (value << 16) | (value << 8) | value; // white, premultiplied
}

// Where the glyphs of the atlas stand: one line of glyphs after another,
// every line as high as the tallest glyph.
struct AtlasLayout {
    int ascent = 0;
    int lineHeight = 0;
    int lines = 0;
    int height = 0;
    std::vector<std::pair<int, int>> places; // (line, x)

    int lineTop(int line) const { return kGap + line * (lineHeight + kGap); }
};

AtlasLayout layOut(const std::vector<Glyph>& glyphs, int imageWidth)
{
    AtlasLayout layout;
    int descent = 0;
    for (const Glyph& g : glyphs) {
        layout.ascent = std::max(layout.ascent, g.top);
        descent = std::max(descent, g.rows - g.top);
    }
    // The marker reaches a little beyond the ink, a line gap that sets the
    // letters off from the line above and below.
    int pad = (layout.ascent + descent) / 16;
    layout.ascent += pad;
    descent += pad;
    layout.lineHeight = layout.ascent + descent;
    int usable = imageWidth - 1; // the last column stays empty
    int line = 0, x = kMarker + kGap;
    for (const Glyph& g : glyphs) {
        if (x + g.width + kGap > usable) {
            ++line;
            x = kMarker + kGap;
        }
        layout.places.emplace_back(line, x);
        x += g.width + kGap;
    }
    layout.lines = line + 1;
    int needed = layout.lines * (layout.lineHeight + kGap) + kGap;
    layout.height = 16;
    while (layout.height < needed)
        layout.height *= 2;
    return layout;
}

// A glyph rendered larger, narrowed or widened until its ink is `width` columns.
Glyph renderToWidth(FT_Face face, int code, int width)
{
    Glyph best = renderGlyph(face, code);
    double squeeze = double(width) / best.width;
    for (int tries = 0; tries < 6 && best.width != width; ++tries) {
        Glyph g = renderGlyph(face, code, squeeze);
        if (std::abs(g.width - width) < std::abs(best.width - width))
            best = g;
        squeeze *= double(width) / g.width;
    }
    return best;
}

class AtlasCanvas {
public:
    AtlasCanvas(int width, int height) : m_surface(makeSurface(width, height))
    {
        cairo_surface_flush(m_surface.get());
        m_data = cairo_image_surface_get_data(m_surface.get());
        m_stride = cairo_image_surface_get_stride(m_surface.get());
        m_width = width;
    }

    void marker(int top, int height, int width)
    {
        for (int y = top; y < top + height; ++y)
            for (int m = 0; m < width; ++m)
                setAlpha(m_data, m_stride, m, y, 255);
    }
    // Ink outside the rows top … bottom − 1 is left out.
    void glyph(const Glyph& g, int x, int baseline, int top, int bottom)
    {
        for (int y = 0; y < g.rows; ++y) {
            const int row = baseline - g.top + y;
            if (row < top || row >= bottom)
                continue;
            for (int c = 0; c < g.width; ++c)
                if (x + c >= 0 && x + c < m_width)
                    setAlpha(m_data, m_stride, x + c, row,
                             g.coverage[std::size_t(y) * g.width + c]);
        }
    }
    Surface finish()
    {
        cairo_surface_mark_dirty(m_surface.get());
        return std::move(m_surface);
    }

private:
    Surface m_surface;
    unsigned char* m_data = nullptr;
    int m_stride = 0;
    int m_width = 0;
};

} // namespace

Surface renderFontAtlas(const std::string& ttfPath, int pixelSize, int imageWidth, int scale)
{
    FreeTypeFace font(ttfPath, pixelSize);
    std::vector<Glyph> glyphs;
    for (int c = kFirst; c <= kLast; ++c)
        glyphs.push_back(renderGlyph(font.face, c));
    const int spaceTop = glyphs['x' - kFirst].top / 2;
    glyphs.push_back(spaceRun(spaceRunWidth(font.face), spaceTop));
    const AtlasLayout layout = layOut(glyphs, imageWidth);
    AtlasCanvas canvas(imageWidth * scale, layout.height * scale);
    for (int l = 0; l < layout.lines; ++l)
        canvas.marker(layout.lineTop(l) * scale, layout.lineHeight * scale, kMarker * scale);
    std::unique_ptr<FreeTypeFace> larger;
    if (scale != 1)
        larger = std::make_unique<FreeTypeFace>(ttfPath, pixelSize * scale);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        auto [l, x] = layout.places[i];
        const int top = layout.lineTop(l) * scale;
        const int baseline = top + layout.ascent * scale;
        if (scale == 1) {
            canvas.glyph(glyphs[i], x, baseline, top, top + layout.lineHeight);
            continue;
        }
        // Each glyph fills the same share of the picture as at the base size,
        // so the game's glyph boxes, measured there, fit this picture too.
        const int width = glyphs[i].width * scale;
        if (kFirst + int(i) > kLast) {
            canvas.glyph(spaceRun(width, spaceTop * scale), x * scale, baseline, top,
                         top + layout.lineHeight * scale);
            continue;
        }
        const Glyph g = renderToWidth(larger->face, kFirst + int(i), width);
        // The game's box of a glyph has a margin column on its left only.
        const int shift = g.width > width ? width - g.width : (width - g.width) / 2;
        canvas.glyph(g, x * scale + shift, baseline, top, top + layout.lineHeight * scale);
    }
    return canvas.finish();
}
