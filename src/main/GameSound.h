// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/MusicPlaylist.h"

// The sound manager and the music playlist for the program's run; the music
// stopped and the sound manager destroyed with this object.
class GameSound {
public:
    GameSound();
    ~GameSound();
    GameSound(const GameSound&) = delete;
    GameSound& operator=(const GameSound&) = delete;

    MusicPlaylist& music() { return m_music; }

private:
    MusicPlaylist m_music;
};
