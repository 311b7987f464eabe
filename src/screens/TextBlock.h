// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "objects/Font.h"

#include <string>
#include <vector>

// A text wrapped into lines of at most a given width at a font size. Only a
// carriage return breaks a line by itself; line feeds are ignored.
class TextBlock {
public:
    TextBlock(const Font& font, float width, float fontSize, int linesShown);

    void wrap(const std::string& text);
    // The first linesShown lines, each fontSize lower than the one before.
    void draw(float x, float y, float z, TextColour colour) const;

    const std::vector<std::string>& lines() const { return m_lines; }

private:
    void placeWord(std::string& line, std::string& word);

    const Font& m_font;
    float m_width;
    float m_fontSize;
    int m_linesShown;
    std::vector<std::string> m_lines;
};
