#include "main/GameSound.h"

#include "app/Config.h"
#include "audio/CSoundManager.h"

GameSound::GameSound()
{
    CSoundManager::instance();
}

GameSound::~GameSound()
{
    Config::get().m_playlist.destroy();
    CSoundManager::destroyInstance();
}
