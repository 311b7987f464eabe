// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "objects/Font.h"

#include <cstddef>
#include <string>
#include <vector>

// A text wrapped into lines of at most a given width at a font size. Only a
// carriage return breaks a line by itself; line feeds are ignored.
class TextBlock {
public:
    // Translations run longer than the text a block was laid out for; a
    // block sets them smaller, but not below this share of its size.
    static constexpr float kSmallestScale = 0.6f;

    // linesShown: the block's room, in lines of fontSize.
    TextBlock(const Font& font, float width, float fontSize, int linesShown);

    // Wraps at the block's font size.
    void wrap(const std::string& text);
    // Wraps at the largest size, from the block's own down, at which the
    // lines fit the room and no word is wider than the width.
    void fit(const std::string& text);
    // The lines that fit the room, each one size lower than the one before.
    void draw(float x, float y, float z, TextColour colour) const;

    const std::vector<std::string>& lines() const { return m_lines; }
    float size() const { return m_size; }
    std::size_t shownLines() const;

private:
    void placeWord(std::string& line, std::string& word);
    bool fitsRoom() const;

    const Font& m_font;
    float m_width;
    float m_fontSize;
    int m_linesShown;
    float m_size; // the size wrapped at
    std::vector<std::string> m_lines;
};
