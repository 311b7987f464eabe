// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlayTestSupport.h"

#include "effects/GameResources.h"
#include "utils/FilePack.h"

#include <gtest/gtest.h>

FilePack& mainPack()
{
    if (packExists("main"))
        return getPack("main");
    FilePack& pack = createPack("main");
    pack.setKey(kMainPackKey);
    if (!pack.load(VM_GAME_DIR "/data/data.pk"))
        ADD_FAILURE() << "the built pack " VM_GAME_DIR "/data/data.pk cannot be read";
    return pack;
}

LoadedArt::LoadedArt()
    : m_resources(std::make_unique<GameResources>(mainPack())), m_art(PlayArt::from(*m_resources))
{
}

LoadedArt::~LoadedArt() = default;
