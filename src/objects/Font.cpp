// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/Font.h"

#include "objects/ScissorCulling.h"
#include "objects/Texture.h"
#include "objects/VertexBatch.h"
#include "utils/Utf8.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::uint8_t kHeaderStart[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr int kGlyphOfA = 'A' - Font::kFirstChar;
constexpr char32_t kNoBreakSpace = 0xA0;
constexpr char32_t kReplacement = 0xFFFD;

// The glyph runs after the space box: two ranges of code points, in order.
struct GlyphRange {
    char32_t first, last;
    int index; // of the glyph of `first`
};
constexpr GlyphRange kGlyphRanges[] = {
    {Font::kFirstChar, '~', 0},
    {0xA1, 0xFF, Font::kGlyphCount},
    {0x100, 0x17F, Font::kGlyphCount + 95},
};

int glyphIndex(char32_t code)
{
    for (const GlyphRange& range : kGlyphRanges)
        if (code >= range.first && code <= range.last)
            return range.index + static_cast<int>(code - range.first);
    return -1;
}

bool isSpace(char32_t code)
{
    return code == ' ' || code == kNoBreakSpace;
}

// Rows are counted from the bottom of the picture, as stored.
class InkMap {
public:
    InkMap(const std::uint8_t* pixels, int width, int height)
        : m_pixels(pixels), m_width(width), m_height(height)
    {
    }

    bool at(int column, int row) const
    {
        return m_pixels[(static_cast<std::size_t>(row) * m_width + column) * 4 + 3] != 0;
    }

    bool rowHasInk(int row) const
    {
        for (int column = 0; column < m_width; ++column)
            if (at(column, row))
                return true;
        return false;
    }

    bool columnHasInk(int column, int bottom, int top) const
    {
        for (int row = bottom; row <= top; ++row)
            if (at(column, row))
                return true;
        return false;
    }

    // The first column from `from` with ink in the rows, or the width when none.
    int nextInkColumn(int from, int bottom, int top) const
    {
        int column = from;
        while (column < m_width && !columnHasInk(column, bottom, top))
            ++column;
        return column;
    }

    // The last column of the run of ink that starts at `start`.
    int runEnd(int start, int bottom, int top) const
    {
        int column = start;
        while (column + 1 < m_width && columnHasInk(column + 1, bottom, top))
            ++column;
        return column;
    }

    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    const std::uint8_t* m_pixels;
    int m_width;
    int m_height;
};

void vertex(VertexBatch& triangles, float x, float y, float z, float u, float v)
{
    triangles.texCoord(u, v);
    triangles.vertex(x, y, z);
}

struct Quad {
    float left, top, right, bottom;
};

void addQuad(VertexBatch& triangles, const Font::Glyph& glyph, Quad at, float z, TextFlip flip)
{
    const float top = flip == TextFlip::Flipped ? glyph.bottom : glyph.top;
    const float bottom = flip == TextFlip::Flipped ? glyph.top : glyph.bottom;
    vertex(triangles, at.left, at.bottom, z, glyph.left, bottom);
    vertex(triangles, at.left, at.top, z, glyph.left, top);
    vertex(triangles, at.right, at.bottom, z, glyph.right, bottom);
    vertex(triangles, at.right, at.bottom, z, glyph.right, bottom);
    vertex(triangles, at.left, at.top, z, glyph.left, top);
    vertex(triangles, at.right, at.top, z, glyph.right, top);
}

} // namespace

bool Font::load(const std::uint8_t* fileBytes, std::size_t size, Texture* texture)
{
    m_texture = texture;
    m_glyphs = {};
    m_glyphCount = 0;
    m_lineHeight = 0.0f;
    m_spaceWidth = 0.0f;
    m_imageWidth = 0;
    m_imageHeight = 0;
    if (fileBytes == nullptr || size < kHeaderSize ||
        std::memcmp(fileBytes, kHeaderStart, sizeof kHeaderStart) != 0 || fileBytes[16] != 32)
        return false;
    const std::uint32_t width = fileBytes[12] | (fileBytes[13] << 8);
    const std::uint32_t height = fileBytes[14] | (fileBytes[15] << 8);
    if (width == 0 || height == 0 ||
        (size - kHeaderSize) / 4 / width < height) // the pixels must all be there
        return false;
    m_imageWidth = width;
    m_imageHeight = height;
    scanGlyphs(fileBytes + kHeaderSize);
    return true;
}

void Font::scanGlyphs(const std::uint8_t* pixels)
{
    const InkMap ink(pixels, static_cast<int>(m_imageWidth), static_cast<int>(m_imageHeight));
    const auto width = static_cast<float>(ink.width());
    const auto height = static_cast<float>(ink.height());
    int previousBottom = ink.height();
    for (;;) {
        int top = previousBottom - 1;
        while (top > 0 && !ink.rowHasInk(top))
            --top;
        if (top <= 0)
            return;
        int bottom = top;
        while (bottom > 0 && ink.rowHasInk(bottom - 1))
            --bottom;
        previousBottom = bottom;
        m_lineHeight = static_cast<float>(top - bottom) / height;
        const int marker = ink.nextInkColumn(0, bottom, top);
        int end = ink.runEnd(marker, bottom, top);
        for (;;) {
            const int x = ink.nextInkColumn(end + 1, bottom, top);
            if (x >= ink.width() - 1)
                break;
            end = ink.runEnd(x, bottom, top);
            const Glyph box{static_cast<float>(top) / height, static_cast<float>(bottom) / height,
                            static_cast<float>(x - 1) / width, static_cast<float>(end + 1) / width};
            if (m_glyphCount == kGlyphCount && m_spaceWidth == 0.0f) {
                m_spaceWidth = box.right - box.left;
                continue;
            }
            m_glyphs[static_cast<std::size_t>(m_glyphCount++)] = box;
            if (m_glyphCount == kMaxGlyphs)
                return;
        }
    }
}

float Font::scale(float size) const
{
    if (m_lineHeight <= 0.0f || m_imageHeight == 0)
        return 0.0f;
    return static_cast<float>(m_imageWidth) / static_cast<float>(m_imageHeight) *
           (size / m_lineHeight);
}

float Font::spaceAdvance(float k) const
{
    if (m_spaceWidth > 0.0f)
        return k * m_spaceWidth;
    if (m_glyphCount <= kGlyphOfA)
        return 0.0f;
    const Glyph& a = m_glyphs[kGlyphOfA];
    return k * (a.right - a.left);
}

const Font::Glyph* Font::glyphFor(char32_t code) const
{
    const int index = glyphIndex(code);
    if (index < 0 || index >= m_glyphCount)
        return nullptr;
    return &m_glyphs[static_cast<std::size_t>(index)];
}

// Where a text's glyphs can land: lines from y − size down by size each,
// tabs taken at their widest.
bool Font::outsideScissor(const char* text, float size, float x, float y, float z,
                          TextSpacing spacing) const
{
    const float s = spaceAdvance(scale(size));
    int lines = 1;
    int tabs = 0;
    std::size_t characters = 0;
    for (const char* c = text; *c != '\0'; c += Utf8::decode(c).length) {
        lines += *c == '\n' ? 1 : 0;
        tabs += *c == '\t' ? 1 : 0;
        ++characters;
    }
    const float advances =
        spacing == TextSpacing::Monospace ? float(characters) * s * 1.1f : measure(text, size);
    const float width = advances + s * float(6 * tabs + 1);
    return ScissorCulling::outside(x - s, y - size, x + width, y + size * float(lines - 1), z);
}

void Font::draw(const char* text, float size, float x, float y, float z, TextColour colour,
                TextFlip flip, TextSpacing spacing) const
{
    const float k = scale(size);
    if (text != nullptr && s_drawObserver != nullptr)
        s_drawObserver->drawn(*this, text, size, x, y, spacing);
    if (text == nullptr || k <= 0.0f || outsideScissor(text, size, x, y, z, spacing))
        return;
    glEnable(GL_TEXTURE_2D);
    if (m_texture != nullptr)
        m_texture->bind();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    const float s = spaceAdvance(k);
    const float startX = x;
    // The two triangles a glyph's strip made, every glyph in one draw.
    VertexBatch triangles(GL_TRIANGLES, std::strlen(text) * 6);
    std::size_t column = 0; // characters before this one, for the tab stops
    for (const char* c = text; *c != '\0'; ++column) {
        const Utf8::Unit unit = Utf8::decode(c);
        c += unit.length;
        if (isSpace(unit.code)) {
            x += s;
        } else if (unit.code == '\t') {
            x += s * static_cast<float>((column / 6 + 1) * 6 - column);
        } else if (unit.code == '\n') {
            y += size;
            x = startX + s / 10.0f;
        } else if (const Glyph* glyph = glyphFor(unit.code)) {
            const float w = k * (glyph->right - glyph->left);
            addQuad(triangles, *glyph, {x, y - size, x + w, y}, z, flip);
            x += spacing == TextSpacing::Monospace ? s : w;
            x += s / 10.0f;
        }
    }
    triangles.draw();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void Font::drawOutlined(const char* text, float size, float x, float y, float z, TextColour colour,
                        TextFlip flip, TextSpacing spacing) const
{
    const TextColour shadow{0.0f, 0.0f, 0.0f, colour.a * colour.a};
    draw(text, size, x - 1.0f, y, z, shadow, flip, spacing);
    draw(text, size, x + 1.0f, y, z, shadow, flip, spacing);
    draw(text, size, x, y - 1.0f, z, shadow, flip, spacing);
    draw(text, size, x, y + 1.0f, z, shadow, flip, spacing);
    draw(text, size, x, y, z, colour, flip, spacing);
}

float Font::measure(const char* text, float size) const
{
    const float k = scale(size);
    if (text == nullptr || k <= 0.0f)
        return 0.0f;
    const float s = spaceAdvance(k);
    float width = 0.0f;
    for (const char* c = text; *c != '\0';) {
        const Utf8::Unit unit = Utf8::decode(c);
        c += unit.length;
        if (isSpace(unit.code))
            width += s;
        else if (const Glyph* glyph = glyphFor(unit.code))
            width += k * (glyph->right - glyph->left) + s / 10.0f;
    }
    return width;
}

float Font::sizeToFit(const char* text, float size, float width) const
{
    // Widths grow in proportion to the size.
    const float measured = measure(text, size);
    return measured > width ? size * std::max(width, 0.0f) / measured : size;
}

Font::FittedText Font::fitCentred(const char* text, float size, float middle, float width) const
{
    const float fitted = sizeToFit(text, size, width);
    return {fitted, middle - measure(text, fitted) / 2.0f};
}

char32_t Font::firstMissingGlyph(const char* utf8) const
{
    for (const char* c = utf8; c != nullptr && *c != '\0';) {
        const Utf8::Unit unit = Utf8::decode(c);
        c += unit.length;
        if (unit.code == Utf8::kInvalid)
            return kReplacement;
        const bool layout = unit.code == '\t' || unit.code == '\n' || unit.code == '\r';
        if (!layout && !isSpace(unit.code) && glyphFor(unit.code) == nullptr)
            return unit.code;
    }
    return 0;
}
