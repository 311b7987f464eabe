// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/HighScoreTable.h"
#include "screens/MenuScreen.h"

#include <array>
#include <string>

class Font;

// A name as the table shows it: the text and the size it is drawn at.
struct FittedName {
    std::string text;
    float size = 0.0f;
};

// Shows the high-score table page by page.
class HighScoreScreen : public MenuScreen {
public:
    static constexpr const char* kLayout = "mui/top_wnd.txt";

    // newRow: the row of page 0 that a game just ended has taken, shown marked.
    HighScoreScreen(MenuResources& resources, float logicalWidth, float logicalHeight,
                    MusicPlaylist& music, Config& config, const HighScoreTable& table,
                    int newRow = HighScoreTable::kNoRow);

    void onKeyDown(int virtualKey) override;
    void onControl(Control& control) override;
    void render() override;

    int page() const { return m_page; }
    int newRow() const { return m_newRow; }
    Button& closeButton() { return *m_closeButton; }
    Button& nextButton() { return *m_nextButton; }
    Button& prevButton() { return *m_prevButton; }

    // A name wider than `room` is drawn smaller, down to a readable least;
    // one still too wide (only a hand-edited table holds those) is cut short.
    static FittedName fitName(const Font& font, const std::string& name, float size, float room);

private:
    struct RowPosition {
        float x = 0.0f, y = 0.0f, z = 0.0f;
    };
    void showPageButtons();
    void drawRows() const;
    void drawNewRowBand(float y) const;
    // The width a row's name may take: up to the points, less a small gap.
    float nameRoom() const { return m_scoreSpace - m_fontSize / 2.0f; }

    const HighScoreTable& m_table;
    int m_page = 0;
    int m_newRow;
    Button* m_closeButton;
    Button* m_nextButton;
    Button* m_prevButton;
    std::array<RowPosition, 7> m_rows{};
    float m_scoreSpace = 400.0f;
    float m_numSpace = 30.0f;
    float m_fontSize = 10.0f;
};
