#pragma once

#include "screens/HighScoreTable.h"
#include "screens/MenuScreen.h"

#include <array>


// Shows the high-score table page by page.
class HighScoreScreen : public MenuScreen {
public:
    static constexpr const char* kLayout = "mui/top_wnd.txt";

    // newRow: the row of page 0 that a game just ended has taken, shown marked.
    HighScoreScreen(MenuResources& resources, float logicalWidth, float logicalHeight,
                    const HighScoreTable& table, int newRow = HighScoreTable::kNoRow);

    void onKeyDown(int virtualKey) override;
    void onControl(Control& control) override;
    void render() override;

    int page() const { return m_page; }
    int newRow() const { return m_newRow; }
    Button& closeButton() { return *m_closeButton; }
    Button& nextButton() { return *m_nextButton; }
    Button& prevButton() { return *m_prevButton; }

private:
    struct RowPosition {
        float x = 0.0f, y = 0.0f, z = 0.0f;
    };
    void showPageButtons();
    void drawRows() const;
    void drawNewRowBand(float y) const;

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
