// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/HighScoreLink.h"

#include "utils/GameFolders.h"

#include "screens/HighScoreTable.h"
#include "screens/NameDialog.h"

bool HighScoreLink::qualifies(int page, int score) const
{
    return m_table.qualifies(page, score);
}

void HighScoreLink::insert(int page, int score, const std::string& name)
{
    const int row = m_table.insert(page, score, name.empty() ? HighScoreTable::kFreshName : name);
    m_newestRow = page == 0 ? row : HighScoreTable::kNoRow;
    // The player has seen the entry: it must outlive a crash or a kill.
    m_table.saveFile(GameFolders::current().playerDataFile(HighScoreTable::kFileName));
}

std::unique_ptr<Dialog> HighScoreLink::createNameDialog(int score)
{
    auto dialog = std::make_unique<NameDialog>(m_resources, m_music, score);
    dialog->setScreenSize(800, 600);
    dialog->setPosition(144.0f, 172.0f, 0.0f, 1.0f);
    dialog->setBackgroundSize(512, 256);
    return dialog;
}

std::string HighScoreLink::enteredName(const Dialog& nameDialog) const
{
    const auto* dialog = dynamic_cast<const NameDialog*>(&nameDialog);
    return dialog != nullptr ? dialog->name() : std::string();
}
