// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/TextBlock.h"

#include <algorithm>

TextBlock::TextBlock(const Font& font, float width, float fontSize, int linesShown)
    : m_font(font), m_width(width), m_fontSize(fontSize), m_linesShown(linesShown), m_size(fontSize)
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

void TextBlock::fit(const std::string& text)
{
    // Small steps, so a text is set no smaller than it must be.
    const float step = m_fontSize / 40.0f;
    m_size = m_fontSize;
    wrap(text);
    while (!fitsRoom() && m_size - step >= m_fontSize * kSmallestScale) {
        m_size -= step;
        wrap(text);
    }
}

bool TextBlock::fitsRoom() const
{
    for (const std::string& line : m_lines)
        if (m_font.measure(line.substr(0, line.find_last_not_of(' ') + 1).c_str(), m_size) >
            m_width)
            return false;
    return shownLines() == m_lines.size();
}

std::size_t TextBlock::shownLines() const
{
    if (m_linesShown <= 0 || m_size <= 0.0f)
        return 0;
    // The room is counted in lines of the block's own size.
    const auto room = std::size_t(float(m_linesShown) * m_fontSize / m_size + 0.001f);
    return std::min(room, m_lines.size());
}

void TextBlock::placeWord(std::string& line, std::string& word)
{
    const float lineWidth = m_font.measure(line.c_str(), m_size);
    const float wordWidth = m_font.measure(word.c_str(), m_size);
    if (line.empty() || lineWidth + wordWidth < m_width) {
        line += word + ' ';
    } else {
        m_lines.push_back(line);
        line = word + ' ';
    }
    word.clear();
}

void TextBlock::draw(float x, float y, float z, TextColour colour) const
{
    for (std::size_t i = 0; i < shownLines(); ++i)
        m_font.draw(m_lines[i].c_str(), m_size, x, y + float(i) * m_size, z, colour);
}
