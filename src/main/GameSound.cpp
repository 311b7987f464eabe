// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/GameSound.h"

#include "audio/CSoundManager.h"

GameSound::GameSound()
{
    CSoundManager::create();
}

GameSound::~GameSound()
{
    m_music.destroy();
    CSoundManager::destroy();
}
