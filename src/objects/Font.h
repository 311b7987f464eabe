// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class Texture;

enum class TextFlip { Upright, Flipped };
enum class TextSpacing { Proportional, Monospace };

struct TextColour {
    float r = 1.0f, g = 1.0f, b = 1.0f, a = 1.0f;
};

// The proportional bitmap font of mui/font.tga. The glyphs are found by
// scanning the picture's alpha channel: lines of ink separated by empty rows,
// glyphs by empty columns; the first run of every line is a marker, the
// following runs are "!" to "~" in code order. A run after those is the box
// of the word space; a picture without it spaces words by the width of "A".
// Runs after the space box are U+00A1 to U+00FF, then U+0100 to U+017F.
// Text is UTF-8; U+00A0 is a space.
class Font {
public:
    static constexpr int kFirstChar = 33;
    static constexpr int kGlyphCount = 94; // the ASCII glyphs
    static constexpr int kMaxGlyphs = kGlyphCount + 95 + 128;

    struct Glyph {
        float top = 0.0f, bottom = 0.0f, left = 0.0f, right = 0.0f; // texture units
    };

    // Told of every text about to be drawn, in the coordinates given to
    // draw(), so tests can check layouts against the font's own metrics.
    class DrawObserver {
    public:
        virtual ~DrawObserver() = default;
        virtual void drawn(const Font& font, const char* text, float size, float x, float y,
                           TextSpacing spacing) = 0;
    };
    // Not owned; null (the default) tells no one.
    static void setDrawObserver(DrawObserver* observer) { s_drawObserver = observer; }

    virtual ~Font() = default;

    // fileBytes: the whole TGA file (32-bit, type 2, no id field, no colour map).
    // texture: made from the same file, not owned. A file of another layout
    // leaves the font without glyphs and returns false.
    bool load(const std::uint8_t* fileBytes, std::size_t size, Texture* texture);

    // y is the bottom edge of the first line in the 2D view, size a line's
    // height. Line feeds start a new line size units lower; invalid bytes and
    // characters without a glyph are skipped.
    void draw(const char* text, float size, float x, float y, float z, TextColour colour,
              TextFlip flip = TextFlip::Upright,
              TextSpacing spacing = TextSpacing::Proportional) const;
    // Four black copies (alpha a x a) one unit left, right, up and down, then the text.
    void drawOutlined(const char* text, float size, float x, float y, float z, TextColour colour,
                      TextFlip flip = TextFlip::Upright,
                      TextSpacing spacing = TextSpacing::Proportional) const;
    // The width the text takes when drawn on one line.
    float measure(const char* text, float size) const;
    // The largest size, up to `size`, at which the text is at most `width` wide.
    float sizeToFit(const char* text, float size, float width) const;
    struct FittedText {
        float size = 0.0f;
        float x = 0.0f; // where the text starts
    };
    // sizeToFit's size, and the start of the text centred on `middle` at it.
    FittedText fitCentred(const char* text, float size, float middle, float width) const;

    // The first character of the text that cannot be drawn, U+FFFD for an
    // invalid byte; 0 when the whole text can. Spaces, tabs and line breaks
    // need no glyph.
    char32_t firstMissingGlyph(const char* utf8) const;
    bool hasGlyph(char32_t code) const { return glyphFor(code) != nullptr; }

    int glyphCount() const { return m_glyphCount; }
    const Glyph& glyph(int index) const { return m_glyphs[static_cast<std::size_t>(index)]; }
    float lineHeight() const { return m_lineHeight; }
    Texture* texture() const { return m_texture; }

private:
    void scanGlyphs(const std::uint8_t* pixels);
    float scale(float size) const;
    float spaceAdvance(float k) const;
    const Glyph* glyphFor(char32_t code) const;
    // Whether none of the text's glyphs can reach the pixels being drawn.
    bool outsideScissor(const char* text, float size, float x, float y, float z,
                        TextSpacing spacing) const;

    static inline DrawObserver* s_drawObserver = nullptr;

    Texture* m_texture = nullptr;
    std::array<Glyph, kMaxGlyphs> m_glyphs{};
    int m_glyphCount = 0;
    float m_lineHeight = 0.0f;
    float m_spaceWidth = 0.0f; // texture units; 0 without a space run
    std::uint32_t m_imageWidth = 0;
    std::uint32_t m_imageHeight = 0;
};
