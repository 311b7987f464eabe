#include "game/GameWindow.h"

#include "board/Field.h"
#include "utils/KeyValueFile.h"

// A finished game (the name dialog may still be open) leaves nothing to continue.
bool GameWindow::save(KeyValueFile& file) {
    if (m_field && !m_gameOver) {
        m_field->finishWalk();
        file.setInt("game.m_level", m_field->level());
        file.setInt("game.m_lives", m_lives);
        m_field->save(file);
    }
    return true;
}

// A level outside the level set, or lives a game in progress cannot have,
// cannot come from a game this program saved.
bool GameWindow::load(const KeyValueFile& file) {
    const int level = file.getInt("game.m_level", -1);
    const int lives = file.getInt("game.m_lives", kStartLives);
    if (level < 1 || level > kLastLevel || lives < 0 || lives > kStartLives)
        return false;
    startLevel(level, 0);
    m_lives = lives;
    return m_field->load(file);
}
