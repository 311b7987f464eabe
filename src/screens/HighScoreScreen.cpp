// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/HighScoreScreen.h"

#include "app/Application.h"
#include "objects/VertexBatch.h"
#include "platform/VirtualKey.h"
#include "screens/HighScoreTable.h"
#include "screens/MenuDrawing.h"
#include "ui/Button.h"
#include "ui/MenuResources.h"
#include "utils/Utf8.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

namespace {

// The entry a game just earned stands out in the gold of the frames.
constexpr TextColour kNewEntryGold{1.0f, 0.82f, 0.35f, 1.0f};

} // namespace

HighScoreScreen::HighScoreScreen(MenuResources& resources, float logicalWidth, float logicalHeight,
                                 MusicPlaylist& music, Config& config, const HighScoreTable& table,
                                 int newRow)
    : MenuScreen(resources, logicalWidth, logicalHeight, DragonColours::ByIndex, music, config),
      m_table(table), m_newRow(newRow)
{
    const KeyValueFile layout = MenuResources::loadLayout(resources.pack(), kLayout);
    m_closeButton = &addButton(layout, "m_close_btn", "m_back_btn");
    m_nextButton = &addButton(layout, "m_next_btn", "m_top_next_btn");
    m_prevButton = &addButton(layout, "m_prev_btn", "m_top_prev_btn");
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "string_pos_%02d.x", int(i + 1));
        m_rows[i].x = layout.getFloat(key, 0.0f);
        std::snprintf(key, sizeof key, "string_pos_%02d.y", int(i + 1));
        m_rows[i].y = layout.getFloat(key, 0.0f);
    }
    m_scoreSpace = layout.getFloat("m_score_space", 400.0f);
    m_numSpace = layout.getFloat("m_num_space", 30.0f);
    m_fontSize = layout.getFloat("m_font_size", 10.0f);
    showPageButtons();
}

void HighScoreScreen::onKeyDown(int virtualKey)
{
    if (virtualKey == VirtualKey::Escape)
        onControl(*m_closeButton);
    MenuScreen::onKeyDown(virtualKey);
}

void HighScoreScreen::onControl(Control& control)
{
    MenuScreen::onControl(control);
    if (&control == m_closeButton)
        Application::get().close(false);
    else if (&control == m_nextButton)
        m_page = std::min(m_page + 1, m_table.pagesInUse() - 1);
    else if (&control == m_prevButton)
        m_page = std::max(m_page - 1, 0);
    showPageButtons();
}

// Pages without a single entry are not offered: a table of "Nemo 0" rows
// with no title tells the player nothing.
void HighScoreScreen::showPageButtons()
{
    const int pages = m_table.pagesInUse();
    m_page = std::min(m_page, pages - 1);
    m_prevButton->setEnabled(m_page > 0);
    m_nextButton->setEnabled(m_page < pages - 1);
}

void HighScoreScreen::render()
{
    glPushMatrix();
    drawBackdrop("m_top_window_back");
    showPageButtons();
    drawRows();
    Window::render();
    finishRender();
}

void HighScoreScreen::drawNewRowBand(float y) const
{
    // Across the table's frame, from the rank to past the widest points.
    const float left = m_rows[0].x - m_numSpace - 60.0f;
    const float right = m_rows[0].x + m_scoreSpace + 92.0f;
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(kNewEntryGold.r, kNewEntryGold.g, kNewEntryGold.b, 0.22f);
    VertexBatch strip(GL_TRIANGLE_STRIP);
    strip.vertex(left, y - m_fontSize - 6.0f);
    strip.vertex(left, y + 8.0f);
    strip.vertex(right, y - m_fontSize - 6.0f);
    strip.vertex(right, y + 8.0f);
    strip.draw();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void HighScoreScreen::drawRows() const
{
    const Font& font = m_resources.font();
    for (int r = 0; r < HighScoreTable::kRows; ++r) {
        const RowPosition& at = m_rows[std::size_t(r)];
        const HighScoreEntry& entry = m_table.entry(m_page, r);
        const bool isNew = m_page == 0 && r == m_newRow;
        if (isNew)
            drawNewRowBand(at.y);
        const TextColour colour = isNew ? kNewEntryGold : TextColour{};
        char text[32];
        std::snprintf(text, sizeof text, "%d.", r + 1);
        font.drawOutlined(text, m_fontSize, at.x - m_numSpace, at.y, at.z, colour);
        const FittedName name = fitName(font, entry.name, m_fontSize, nameRoom());
        font.drawOutlined(name.text.c_str(), name.size, at.x, at.y, at.z, colour);
        std::snprintf(text, sizeof text, "%d", entry.points);
        font.drawOutlined(text, m_fontSize, at.x + m_scoreSpace, at.y, at.z, colour);
    }
}

FittedName HighScoreScreen::fitName(const Font& font, const std::string& name, float size,
                                    float room)
{
    constexpr float kSmallestScale = 0.6f;
    const float fitted = font.sizeToFit(name.c_str(), size, room);
    if (fitted >= size * kSmallestScale)
        return {name, fitted};
    const float smallest = size * kSmallestScale;
    std::string shown = name;
    while (!shown.empty() && font.measure((shown + "...").c_str(), smallest) > room)
        shown.resize(Utf8::previous(shown, shown.size())); // a whole character
    return {shown + "...", smallest};
}
