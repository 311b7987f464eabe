#pragma once

// The sound manager for the program's run; the music stopped and the sound
// manager destroyed with this object.
class GameSound {
public:
    GameSound();
    ~GameSound();
    GameSound(const GameSound&) = delete;
    GameSound& operator=(const GameSound&) = delete;
};
