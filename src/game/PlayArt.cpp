// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/PlayArt.h"

#include "effects/GameResources.h"

bool PlayArt::complete() const
{
    for (const Sprite* skin : skins)
        if (!skin)
            return false;
    return font && statistics && background && smallBackground && insect && cellBack &&
           cellBackSmall && particles && block && mainMenuButton && dynamite && dynamiteGrey;
}

PlayArt PlayArt::fromResources()
{
    return GameResources::exists() ? from(GameResources::get()) : PlayArt{};
}

PlayArt PlayArt::from(const GameResources& resources)
{
    PlayArt art;
    art.font = &resources;
    for (std::size_t i = 0; i < art.skins.size(); ++i)
        art.skins[i] = resources.m_skins[i].get();
    art.statistics = resources.m_statistics.get();
    art.background = resources.m_background.get();
    art.smallBackground = resources.m_smallBackground.get();
    art.insect = resources.m_insect.get();
    art.cellBack = resources.m_cellBack.get();
    art.cellBackSmall = resources.m_cellBackSmall.get();
    art.particles = resources.m_particles.get();
    art.block = resources.m_block.get();
    art.mainMenuButton = resources.m_mainMenuButton.get();
    art.dynamite = resources.m_dynamite.get();
    art.dynamiteGrey = resources.m_dynamiteGrey.get();
    return art;
}
