#include "screens/HighScoreLink.h"

#include "screens/HighScoreTable.h"
#include "screens/NameDialog.h"

bool HighScoreLink::qualifies(int page, int score) const
{
    return m_table.qualifies(page, score);
}

void HighScoreLink::insert(int page, int score, const std::string& name)
{
    m_table.insert(page, score, name.empty() ? HighScoreTable::kFreshName : name);
}

std::unique_ptr<Dialog> HighScoreLink::createNameDialog()
{
    auto dialog = std::make_unique<NameDialog>(m_resources);
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
