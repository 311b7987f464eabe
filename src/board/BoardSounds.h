#pragma once

#include <functional>

#include "audio/SoundIds.h"

// How the board and its effects play sounds: fire and forget, by identifier,
// through the sound manager. Tests install a listener instead.
class BoardSounds {
public:
    enum class Restart { Always, UnlessPlaying };
    using Listener = std::function<void(int id, Restart restart)>;

    static void play(int id, Restart restart = Restart::Always);
    // An empty listener goes back to the sound manager.
    static void setListener(Listener listener);
};
