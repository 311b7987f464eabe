// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameWindow.h"

#include "board/Field.h"
#include "board/LevelSet.h"
#include "utils/KeyValueFile.h"
#include "utils/Log.h"
#include "utils/Translation.h"

namespace {

constexpr const char* kLevelSetKey = "game.m_levelSet";

bool hasBoard(const KeyValueFile& file)
{
    return !file.getString("field.field", "").empty() &&
           !file.getString("field.cellBacks", "").empty();
}

} // namespace

// A finished game (the name dialog may still be open) leaves nothing to continue.
bool GameWindow::save(KeyValueFile& file)
{
    if (m_field && !m_gameOver) {
        m_field->finishWalk();
        file.setInt("game.m_level", m_field->level());
        file.setInt("game.m_lives", m_lives);
        file.setInt(kLevelSetKey, kLevelSetVersion);
        m_field->save(file);
    }
    return true;
}

// A level outside the level set, or lives a game in progress cannot have,
// cannot come from a game this program saved. A board saved on other level
// designs, or one that no longer fits its level, gives way to a fresh board of
// the same level: the player keeps the level, the score and the lives.
bool GameWindow::load(const KeyValueFile& file)
{
    const int level = file.getInt("game.m_level", -1);
    const int lives = file.getInt("game.m_lives", kStartLives);
    const int score = file.getInt("field.score", 0);
    if (level < 1 || level > kLastLevel || lives < 0 || lives > kStartLives || score < 0 ||
        !hasBoard(file))
        return false;
    startLevel(level, 0);
    m_lives = lives;
    const int levelSet = file.getInt(kLevelSetKey, 0);
    if (levelSet == kLevelSetVersion && m_field->load(file))
        return true;
    m_field->setScore(score);
    // Whole sentences, for the translations' word order.
    const char* why = levelSet == kLevelSetVersion
                          ? trLater("The saved game's board does not fit its level: level %d "
                                    "starts afresh with its score %d and %d lives.")
                          : trLater("The saved game's board comes from other level designs: "
                                    "level %d starts afresh with its score %d and %d lives.");
    Log::write(tr(why), level, score, lives);
    return true;
}
