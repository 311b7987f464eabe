// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Dialog.h"

#include <memory>
#include <string>

class Button;
class EditBox;
class MenuResources;
class MusicPlaylist;

// Asks a player who reached the high-score table for a name, showing the
// score that earned the place.
class NameDialog : public Dialog {
public:
    static constexpr std::size_t kMaxNameLength = 15;
    static constexpr const char* kLayout = "mui/entername_dlg.txt";

    // music: pumped while the dialog is up; not owned.
    NameDialog(MenuResources& resources, MusicPlaylist& music, int score);
    ~NameDialog() override;

    void onControl(Control& control) override;
    void update(float dt) override;
    void render() override;
    bool rendersStateOnly() const override { return true; }

    std::string name() const;
    // The line under the title.
    std::string scoreText() const;
    EditBox& editBox() { return *m_editBox; }
    Button& okButton() { return *m_okButton; }

private:
    void drawScore() const;

    MenuResources& m_resources;
    MusicPlaylist& m_music;
    std::unique_ptr<Button> m_okButton;
    std::unique_ptr<EditBox> m_editBox;
    int m_score;
    float m_alpha = 0.0f;
};
