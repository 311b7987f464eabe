// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/FieldListener.h"
#include "screens/MenuScreen.h"

#include <memory>
#include <string>

class BoardRenderer;
class Field;
class TrackBar;
struct PlayArt;

// Picks the starting level of a new game: a slider and arrows over the 100
// levels, a small live picture of the board, and a lock over the levels
// above the highest one reached.
class LevelChoiceScreen : public MenuScreen {
public:
    static constexpr const char* kLayout = "mui/custom_wnd.txt";
    static constexpr int kLevelCount = 100;
    // The preview draws the 800 x 600 play screen shrunk to this scale from
    // this corner, inside the frame painted on the background picture.
    static constexpr float kPreviewX = 300.0f;
    static constexpr float kPreviewY = 180.0f;
    static constexpr float kPreviewScale = 0.262f;
    struct Frame {
        float left, top, right, bottom;
    };
    static constexpr Frame kPreviewFrame{292.0f, 172.0f, 518.0f, 345.0f};
    // The line saying which levels are open, centred between the slider and
    // the buttons: its bottom edge and size.
    static constexpr float kOpenLevelsY = 480.0f;
    static constexpr float kOpenLevelsSize = 22.0f;
    static constexpr float kOpenLevelsWidth = 420.0f;
    // The chosen level's number under the preview, and its room before the next button.
    static constexpr float kLevelX = 307.0f;
    static constexpr float kLevelY = 401.0f;
    static constexpr float kLevelSize = 38.0f;
    static constexpr float kLevelRight = 660.0f;
    static constexpr float kLevelWidth = 560.0f;

    // art: the play-screen pictures for the preview; null draws no preview.
    LevelChoiceScreen(MenuResources& resources, float logicalWidth, float logicalHeight,
                      MusicPlaylist& music, Config& config, const PlayArt* art);
    ~LevelChoiceScreen() override;

    void onKeyDown(int virtualKey) override;
    void onControl(Control& control) override;
    void render() override;

    bool isConfirmed() const { return m_confirmed; }
    int chosenIndex() const;
    bool isLocked() const;
    // Which levels may be started, e.g. "Levels 1-7 open".
    static std::string openLevels(int highest);
    const Field& preview() const { return *m_preview; }
    // Builds the preview board again when the shown level changed.
    void refreshPreview();
    Button& closeButton() { return *m_closeButton; }
    Button& okButton() { return *m_okButton; }
    Button& nextButton() { return *m_nextButton; }
    Button& prevButton() { return *m_prevButton; }
    TrackBar& slider() { return *m_slider; }

protected:
    // Left and Right choose the level whatever control has the focus.
    bool onFocusKey(int virtualKey) override;

private:
    void drawPreview();
    void drawLevelNumber() const;
    void drawOpenLevels();
    void showLevel(int index);
    // Start is shown disabled while the level shown is locked.
    void updateStart();

    Button* m_closeButton;
    Button* m_okButton;
    Button* m_nextButton;
    Button* m_prevButton;
    TrackBar* m_slider;
    bool m_confirmed = false;
    // The preview is drawn, never played: nothing it could tell is shown.
    FieldListener m_previewEvents;
    std::unique_ptr<Field> m_preview;
    std::unique_ptr<BoardRenderer> m_renderer;
};
