#include "game/GameWindow.h"

#include "board/Field.h"
#include "utils/KeyValueFile.h"

bool GameWindow::save(KeyValueFile& file) {
    if (m_field) {
        file.setInt("game.m_level", m_field->level());
        file.setInt("game.m_lives", m_lives);
        m_field->save(file);
    }
    return true;
}

// A level outside the level set cannot come from a game this program saved.
bool GameWindow::load(const KeyValueFile& file) {
    const int level = file.getInt("game.m_level", -1);
    if (level < 1 || level > kLastLevel)
        return false;
    startLevel(level, 0);
    m_lives = file.getInt("game.m_lives", kStartLives);
    return m_field->load(file);
}
