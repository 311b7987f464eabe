// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class Field;
class Font;
struct PlayArt;

// The panel over a finished board: the title, the level's statistics and
// the prompt, all fading with the board's results opacity.
class ResultsPanel {
public:
    struct Line {
        std::string text;
        float x;
        float y;
        float size = 28.0f;
    };

    static std::string title(const Field& field);
    // What the level's end means for the game, given the lives held while it
    // was played: a life lost, the game over, or every level done; empty
    // for an ordinary win.
    static std::string outcome(const Field& field, int lives);
    // The five statistics lines with their places on the panel.
    static std::vector<Line> lines(const Field& field);
    static std::string timeLine(int milliseconds);
    // The lines as drawn with the font: in their places when all fit there.
    static std::vector<Line> fitted(std::vector<Line> lines, const Font& font);

    // Draws only while the board is in its finished state.
    static void draw(const Field& field, const PlayArt& art, int lives);
};
