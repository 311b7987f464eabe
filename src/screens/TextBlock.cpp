// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/TextBlock.h"

TextBlock::TextBlock(const Font& font, float width, float fontSize, int linesShown)
    : m_font(font), m_width(width), m_fontSize(fontSize), m_linesShown(linesShown)
{
}

void TextBlock::wrap(const std::string& text)
{
    m_lines.clear();
    std::string line;
    std::string word;
    for (char c : text + '\r') {
        if (c == '\n')
            continue;
        if (c != ' ' && c != '\r') {
            word += c;
            continue;
        }
        placeWord(line, word);
        if (c == '\r') {
            m_lines.push_back(line);
            line.clear();
        }
    }
}

void TextBlock::placeWord(std::string& line, std::string& word)
{
    const float lineWidth = m_font.measure(line.c_str(), m_fontSize);
    const float wordWidth = m_font.measure(word.c_str(), m_fontSize);
    if (lineWidth + wordWidth < m_width) {
        line += word + ' ';
    } else {
        m_lines.push_back(line);
        line = word + ' ';
    }
    word.clear();
}

void TextBlock::draw(float x, float y, float z, TextColour colour) const
{
    const std::size_t shown = m_linesShown > 0 ? std::size_t(m_linesShown) : 0;
    for (std::size_t i = 0; i < m_lines.size() && i < shown; ++i)
        m_font.draw(m_lines[i].c_str(), m_fontSize, x, y + float(i) * m_fontSize, z, colour);
}
