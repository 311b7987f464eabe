// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/HudLayout.h"

#include <array>
#include <deque>
#include <string>

class Field;
class Font;

// A short word the first time in a game that the board shows something a
// player without hints may not know: stone cells, an insect, a rainbow
// flower, a colour bomb, a blast flower. One banner at a time, each element
// once per game.
class NewElementNotice {
public:
    enum class Element { StoneCells, Insect, Rainbow, ColourBomb, Blast, Count };

    // Queues a banner for each element the board shows for the first time.
    void check(const Field& field);
    void update(float dt);
    // A dark band across the top of the screen with the words in gold.
    void render(const Font& font) const;
    static void drawBanner(const Font& font, const std::string& words, float alpha);

    // The banner showing now; empty when none.
    const std::string& text() const { return m_text; }
    static const char* words(Element element);
    // Where the banner's band stands for these words: between the plaques.
    static HudLayout::Box band(const Font& font, const std::string& words);

private:
    static float textSize(const Font& font, const std::string& words);

    std::array<bool, static_cast<std::size_t>(Element::Count)> m_told{};
    std::deque<std::string> m_waiting;
    std::string m_text;
    float m_age = 0.0f; // milliseconds the current banner has been up
};
