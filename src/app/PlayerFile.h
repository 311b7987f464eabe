#pragma once

#include <cstddef>
#include <string>

class KeyValueFile;

// The player's own files (configuration, high scores, saved game, log): their
// folders are made on first use, and a file that cannot be written costs a
// line in the log, never the game.
class PlayerFile {
public:
    // Makes the missing folders above path, private to the player (mode 0700).
    static bool makeFolderFor(const std::string& path);
    // Replaces the file as a whole, scrambled with the key when one is given.
    static bool save(const KeyValueFile& file, const std::string& path,
                     const char* key = nullptr, std::size_t keyLength = 0);
};
