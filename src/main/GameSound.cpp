#include "main/GameSound.h"

#include "audio/CSoundManager.h"

GameSound::GameSound()
{
    CSoundManager::instance();
}

GameSound::~GameSound()
{
    m_music.destroy();
    CSoundManager::destroyInstance();
}
