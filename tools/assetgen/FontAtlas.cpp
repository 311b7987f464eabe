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
// The letters after the space run: Latin-1 and Latin Extended-A.
constexpr std::pair<int, int> kLatinRanges[] = {{0xA1, 0xFF}, {0x100, 0x17F}};
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

// The rows a glyph may fill, in 26.6 pixels from the baseline (0: no limit),
// and half the x-height, which the letter's own contours cross and its marks
// (accents, rings, cedillas) do not.
struct LineRoom {
    FT_Pos above = 0, below = 0;
    FT_Pos middle = 0;
};

struct Span {
    FT_Pos low = 0, high = 0;
};

Span contourSpan(const FT_Outline& outline, int contour)
{
    const int first = contour == 0 ? 0 : outline.contours[contour - 1] + 1;
    Span span{outline.points[first].y, outline.points[first].y};
    for (int i = first; i <= outline.contours[contour]; ++i) {
        span.low = std::min(span.low, outline.points[i].y);
        span.high = std::max(span.high, outline.points[i].y);
    }
    return span;
}

void moveContour(FT_Outline& outline, int contour, Span from, FT_Pos low, double flatten)
{
    const int first = contour == 0 ? 0 : outline.contours[contour - 1] + 1;
    for (int i = first; i <= outline.contours[contour]; ++i)
        outline.points[i].y = low + FT_Pos(double(outline.points[i].y - from.low) * flatten);
}

// Marks above the letter that would reach past `limit` come down by up to
// half their gap to it, then flatten toward it; the letter keeps its shape.
// The ASCII letters set the line's height, so accented capitals fit the line
// this way, as typefaces shape capital accents for tight leading.
void fitMarksAbove(FT_Outline& outline, FT_Pos limit, FT_Pos middle)
{
    FT_Pos letterTop = 0;
    for (int c = 0; c < outline.n_contours; ++c)
        if (const Span span = contourSpan(outline, c); span.low <= middle && span.high >= middle)
            letterTop = std::max(letterTop, span.high);
    Span marks{limit, 0};
    for (int c = 0; c < outline.n_contours; ++c)
        if (const Span span = contourSpan(outline, c); span.low >= letterTop) {
            marks.low = std::min(marks.low, span.low);
            marks.high = std::max(marks.high, span.high);
        }
    if (marks.high <= limit || marks.low >= marks.high)
        return;
    const FT_Pos low = marks.low - std::min(marks.high - limit, (marks.low - letterTop) / 2);
    if (low >= limit)
        return;
    const double flatten = std::min(1.0, double(limit - low) / double(marks.high - marks.low));
    for (int c = 0; c < outline.n_contours; ++c)
        if (contourSpan(outline, c).low >= letterTop)
            moveContour(outline, c, marks, low, flatten);
}

void mirror(FT_Outline& outline)
{
    for (int i = 0; i < outline.n_points; ++i)
        outline.points[i].y = -outline.points[i].y;
}

void fitMarks(FT_Outline& outline, const LineRoom& room)
{
    if (room.above > 0)
        fitMarksAbove(outline, room.above, room.middle);
    if (room.below > 0) {
        mirror(outline);
        fitMarksAbove(outline, room.below, -room.middle);
        mirror(outline);
    }
}

// The outline of a character, hinted, narrowed (or widened) to `squeeze` of its
// width and emboldened by what a narrowing takes from its strokes, its marks
// fitted into the room.
FT_GlyphSlot loadOutline(FT_Face face, int code, double squeeze, const LineRoom& room)
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
    fitMarks(slot->outline, room);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_LIGHT))
        throw std::runtime_error("cannot render character " + std::to_string(code));
    return slot;
}

Glyph renderGlyph(FT_Face face, int code, double squeeze = 1.0, const LineRoom& room = {})
{
    FT_GlyphSlot slot = loadOutline(face, code, squeeze, room);
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

// The line's height comes from the first `measured` glyphs (the ASCII ones),
// so adding letters leaves the ASCII text as it was.
AtlasLayout layOut(const std::vector<Glyph>& glyphs, std::size_t measured, int imageWidth)
{
    AtlasLayout layout;
    int descent = 0;
    for (std::size_t i = 0; i < measured; ++i) {
        layout.ascent = std::max(layout.ascent, glyphs[i].top);
        descent = std::max(descent, glyphs[i].rows - glyphs[i].top);
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
    // Just the rows the lines take: the font is drawn without mipmaps, so a
    // power-of-two height would only add empty rows.
    layout.height = layout.lines * (layout.lineHeight + kGap) + kGap;
    return layout;
}

// A glyph rendered larger, narrowed or widened until its ink is `width` columns.
Glyph renderToWidth(FT_Face face, int code, int width, const LineRoom& room)
{
    Glyph best = renderGlyph(face, code, 1.0, room);
    double squeeze = double(width) / best.width;
    for (int tries = 0; tries < 6 && best.width != width; ++tries) {
        Glyph g = renderGlyph(face, code, squeeze, room);
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

// The characters in the picture's order; 0 stands for the space run.
std::vector<int> atlasCodes()
{
    std::vector<int> codes;
    for (int c = kFirst; c <= kLast; ++c)
        codes.push_back(c);
    codes.push_back(0);
    for (auto [first, last] : kLatinRanges)
        for (int c = first; c <= last; ++c)
            codes.push_back(c);
    return codes;
}

LineRoom roomAt(const AtlasLayout& layout, int xHeight, int scale)
{
    return {FT_Pos(layout.ascent * scale * 64),
            FT_Pos((layout.lineHeight - layout.ascent) * scale * 64), FT_Pos(xHeight * scale * 32)};
}

} // namespace

Surface renderFontAtlas(const std::string& ttfPath, int pixelSize, int imageWidth, int scale)
{
    FreeTypeFace font(ttfPath, pixelSize);
    const std::vector<int> codes = atlasCodes();
    std::vector<Glyph> glyphs;
    for (int c = kFirst; c <= kLast; ++c)
        glyphs.push_back(renderGlyph(font.face, c));
    const int xHeight = glyphs['x' - kFirst].top;
    glyphs.push_back(spaceRun(spaceRunWidth(font.face), xHeight / 2));
    const std::size_t measured = glyphs.size();
    const LineRoom room = roomAt(layOut(glyphs, measured, imageWidth), xHeight, 1);
    for (std::size_t i = measured; i < codes.size(); ++i)
        glyphs.push_back(renderGlyph(font.face, codes[i], 1.0, room));
    const AtlasLayout layout = layOut(glyphs, measured, imageWidth);
    AtlasCanvas canvas(imageWidth * scale, layout.height * scale);
    for (int l = 0; l < layout.lines; ++l)
        canvas.marker(layout.lineTop(l) * scale, layout.lineHeight * scale, kMarker * scale);
    std::unique_ptr<FreeTypeFace> larger;
    if (scale != 1)
        larger = std::make_unique<FreeTypeFace>(ttfPath, pixelSize * scale);
    const LineRoom largerRoom = roomAt(layout, xHeight, scale);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        auto [l, x] = layout.places[i];
        const int top = layout.lineTop(l) * scale;
        const int bottom = top + layout.lineHeight * scale;
        const int baseline = top + layout.ascent * scale;
        if (scale == 1) {
            canvas.glyph(glyphs[i], x, baseline, top, bottom);
            continue;
        }
        // Each glyph fills the same share of the picture as at the base size,
        // so the game's glyph boxes, measured there, fit this picture too.
        const int width = glyphs[i].width * scale;
        const Glyph g = codes[i] == 0 ? spaceRun(width, xHeight / 2 * scale)
                                      : renderToWidth(larger->face, codes[i], width,
                                                      codes[i] > kLast ? largerRoom : LineRoom{});
        // The game's box of a glyph has a margin column on its left only.
        const int shift = g.width > width ? width - g.width : (width - g.width) / 2;
        canvas.glyph(g, x * scale + shift, baseline, top, bottom);
    }
    return canvas.finish();
}
