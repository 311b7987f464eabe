#include "game/GameWindow.h"

#include "board/Field.h"
#include "utils/KeyValueFile.h"

// The board's own keys come with the saved game; until then a saved game
// keeps the level and lives, and loading one reports that no board came back.
bool GameWindow::save(KeyValueFile& file) {
    if (m_field) {
        file.setInt("game.m_level", m_field->level());
        file.setInt("game.m_lives", m_lives);
    }
    return true;
}

bool GameWindow::load(const KeyValueFile& file) {
    const int level = file.getInt("game.m_level", -1);
    if (level == -1)
        return false;
    startLevel(level, 0);
    m_lives = file.getInt("game.m_lives", kStartLives);
    return false;
}
