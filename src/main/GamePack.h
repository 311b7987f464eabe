// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "utils/Translation.h"

#include <string>
#include <vector>

class FilePack;

// The pack "main" with its key and data/data.pk from the game's data folder,
// which also serves the names the pack lacks (a missing pack is no error),
// and beside it the optional fine pictures, data/data2x.pk. A pack that is
// there but damaged ends the program with a message asking for a reinstall.
// The language (the setting, else the environment's) is put in place before
// the first screens' pictures start decoding ahead (ImagePrefetch).
class GamePack {
public:
    // The damaged pack's path and what is wrong with it, then the game's title.
    static constexpr const char* kDamagedData =
        trLater("The game's data is damaged: %s.\nPlease reinstall %s.");

    // `language`: the setting's code, empty to follow the environment.
    explicit GamePack(const std::string& language);
    // Decoding ahead stops and the packs close.
    ~GamePack();
    GamePack(const GamePack&) = delete;
    GamePack& operator=(const GamePack&) = delete;

    FilePack& pack() { return m_pack; }

    // The window icon and the pictures of the intro and the first main-menu
    // frame, in the order they are needed.
    static std::vector<std::string> firstPictures();

private:
    FilePack& m_pack;
};
