// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/PlayArt.h"

#include <memory>
#include <vector>

class FilePack;
class GameResources;

// The pack "main" over the built data/data.pk, made once per test program.
FilePack& mainPack();

// The play-screen resources loaded from the built pack as the game loads
// them, owned here.
class LoadedArt {
public:
    LoadedArt();
    ~LoadedArt();
    const PlayArt& art() const { return m_art; }

private:
    std::unique_ptr<GameResources> m_resources;
    PlayArt m_art;
};
