// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/HighScores.h"

class HighScoreTable;
class MenuResources;
class MusicPlaylist;

// Lets the play screen reach the main menu's table and name dialog.
class HighScoreLink : public HighScores {
public:
    HighScoreLink(HighScoreTable& table, MenuResources& resources, MusicPlaylist& music)
        : m_table(table), m_resources(resources), m_music(music)
    {
    }

    bool qualifies(int page, int score) const override;
    // Written to the player's table file at once.
    void insert(int page, int score, const std::string& name) override;
    // At (144, 172) on the 800 × 600 screen with its 512 × 256 background.
    std::unique_ptr<Dialog> createNameDialog(int score) override;
    std::string enteredName(const Dialog& nameDialog) const override;

    // The row of page 0 that the last finished game's entry took, if any.
    int newestRow() const { return m_newestRow; }

private:
    HighScoreTable& m_table;
    MenuResources& m_resources;
    MusicPlaylist& m_music;
    int m_newestRow = -1;
};
