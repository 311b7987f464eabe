// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Dialog.h"

#include <memory>

class Button;
class MenuResources;
class MusicPlaylist;

enum class ContinueChoice { Cancel = 0, ContinueSaved = 1, StartNew = 2 };

// Offers to resume the game in progress, showing its level and score.
class ContinueDialog : public Dialog {
public:
    static constexpr const char* kLayout = "mui/continue_dlg.txt";

    // music: pumped while the dialog is up; not owned.
    ContinueDialog(MenuResources& resources, MusicPlaylist& music, int level, int score);
    ~ContinueDialog() override;

    void onControl(Control& control) override;
    void update(float dt) override;
    void render() override;
    bool rendersStateOnly() const override { return true; }

    ContinueChoice choice() const { return m_choice; }
    int level() const { return m_level; }
    int score() const { return m_score; }

private:
    void drawLines() const;
    void choose(ContinueChoice choice, int result);

    MenuResources& m_resources;
    MusicPlaylist& m_music;
    ContinueChoice m_choice = ContinueChoice::Cancel;
    int m_level;
    int m_score;
    float m_alpha = 0.0f;
    std::unique_ptr<Button> m_continueSavedButton;
    std::unique_ptr<Button> m_startNewButton;
    std::unique_ptr<Button> m_cancelButton;
};
