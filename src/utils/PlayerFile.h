// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

class KeyValueFile;

// The player's own files (configuration, high scores, saved game, log): their
// folders are made on first use, and a file that cannot be written costs a
// line in the log and is remembered for the player's notice, never the game.
class PlayerFile {
public:
    struct Failure {
        std::string path;
        int error = 0; // the errno of the failed step
    };

    // Makes the missing folders above path, private to the player (mode 0700).
    static bool makeFolderFor(const std::string& path);
    // Replaces the file as a whole, scrambled with the key when one is given.
    static bool save(const KeyValueFile& file, const std::string& path, const char* key = nullptr,
                     std::size_t keyLength = 0);
    // The first file of this session that could not be written, so the
    // player can be told once that progress is being lost.
    static const std::optional<Failure>& firstFailure();
    static void forgetFailures();

private:
    static void noteFailure(const std::string& path, int error);
};
