// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/ResultsPanel.h"

#include "board/Field.h"
#include "game/GameWindow.h"
#include "game/PlayArt.h"
#include "objects/Font.h"
#include "objects/Texture.h"
#include "objects/VertexBatch.h"
#include "utils/Translation.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

namespace {

void drawPanel(Texture& texture, float alpha)
{
    glEnable(GL_TEXTURE_2D);
    texture.bind();
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    VertexBatch strip(GL_TRIANGLE_STRIP);
    strip.texCoord(0.0f, 1.0f);
    strip.vertex(144.0f, 44.0f, 0.0f);
    strip.texCoord(0.0f, 0.0f);
    strip.vertex(144.0f, 556.0f, 0.0f);
    strip.texCoord(1.0f, 1.0f);
    strip.vertex(656.0f, 44.0f, 0.0f);
    strip.texCoord(1.0f, 0.0f);
    strip.vertex(656.0f, 556.0f, 0.0f);
    strip.draw();
    glDisable(GL_TEXTURE_2D);
}

// Above the title, under the panel's ribbon.
constexpr float kOutcomeY = 184.0f;
constexpr float kOutcomeSize = 26.0f;
constexpr float kLineSize = 28.0f;
// The room inside the panel's gold frame, and inside the statistics' frame.
constexpr float kInsideWidth = 420.0f;
constexpr float kStatisticsRight = 588.0f;
constexpr float kStatisticsWidth = 376.0f;

enum class Outline { None, Dark };

// Centred on the panel, smaller when it would not fit inside the frame.
void drawCentred(const Font& font, const std::string& text, float wantedSize, float y,
                 TextColour colour, Outline outline = Outline::None)
{
    const Font::FittedText fitted = font.fitCentred(text.c_str(), wantedSize, 400.0f, kInsideWidth);
    if (outline == Outline::Dark)
        font.drawOutlined(text.c_str(), fitted.size, fitted.x, y, 0.0f, colour);
    else
        font.draw(text.c_str(), fitted.size, fitted.x, y, 0.0f, colour);
}

} // namespace

std::string ResultsPanel::title(const Field& field)
{
    return field.succeeded() ? tr("Level completed!") : tr("Level not completed!");
}

std::string ResultsPanel::outcome(const Field& field, int lives)
{
    if (field.succeeded())
        return field.level() >= GameWindow::kLastLevel ? tr("All levels completed!") : "";
    if (lives <= 0)
        return tr("Game over!");
    return tr("Life lost! Lives left : %d", lives - 1);
}

std::string ResultsPanel::timeLine(int t)
{
    const int hours = t / 1000 / 60 / 60;
    const int minutes = t / 1000 / 60 - 60 * hours;
    const int seconds = t / 1000 - (3600 * hours + 60 * minutes);
    char text[96];
    std::snprintf(text, sizeof text, tr("Time on level : %d:%02d:%02d"), hours, minutes, seconds);
    return text;
}

std::vector<ResultsPanel::Line> ResultsPanel::lines(const Field& field)
{
    const Field::Statistics& s = field.statistics();
    return {
        {tr("Score on level : %d", s.m_statScoreOnLevel), 231.0f, 290.0f, kLineSize},
        {tr("Balls exploded : %d", s.m_statBallsExploded), 236.0f, 330.0f, kLineSize},
        {timeLine(s.m_statTimeOnLevel), 233.0f, 370.0f, kLineSize},
        {tr("Time bonus : %d", s.m_statTimeBonus), 271.0f, 410.0f, kLineSize},
        {tr("Chain bonus : %d", s.m_statChainBonus), 262.0f, 450.0f, kLineSize},
    };
}

// The lines stay in their places while all of them fit there; otherwise
// all are centred, each shrunk to the frame's width if need be, so that
// their column does not break up.
std::vector<ResultsPanel::Line> ResultsPanel::fitted(std::vector<Line> lines, const Font& font)
{
    const auto fitsInPlace = [&](const Line& line) {
        return line.x + font.measure(line.text.c_str(), kLineSize) <= kStatisticsRight;
    };
    const bool inPlace = std::all_of(lines.begin(), lines.end(), fitsInPlace);
    for (Line& line : lines) {
        const Font::FittedText fitted =
            inPlace ? Font::FittedText{kLineSize, line.x}
                    : font.fitCentred(line.text.c_str(), kLineSize, 400.0f, kStatisticsWidth);
        line.size = fitted.size;
        line.x = fitted.x;
    }
    return lines;
}

void ResultsPanel::draw(const Field& field, const PlayArt& art, int lives)
{
    if (field.state() != FieldState::Finished)
        return;
    const float alpha = field.resultsAlpha();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawPanel(*art.statistics, alpha);
    const Font& font = *art.font;
    drawCentred(font, outcome(field, lives), kOutcomeSize, kOutcomeY, {0.95f, 0.76f, 0.31f, alpha},
                Outline::Dark);
    drawCentred(font, title(field), 36.0f, 240.0f, {1.0f, 0.2f, 0.2f, alpha});
    for (const Line& line : fitted(lines(field), font))
        font.draw(line.text.c_str(), line.size, line.x, line.y, 0.0f, {1.0f, 1.0f, 1.0f, alpha});
    drawCentred(font, tr("click to continue ..."), 24.0f, 510.0f, {1.0f, 1.0f, 1.0f, alpha});
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
