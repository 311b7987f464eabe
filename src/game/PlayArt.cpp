#include "game/PlayArt.h"

#include "effects/GameResources.h"

bool PlayArt::complete() const {
    for (const Sprite* skin : skins)
        if (!skin)
            return false;
    return font && statistics && background && smallBackground && insect && cellBack &&
           cellBackSmall && particles && block && mainMenuButton && dynamite && dynamiteGrey;
}

PlayArt PlayArt::fromResources() {
    const GameResources* res = GameResources::get();
    if (!res)
        return {};
    PlayArt art;
    art.font = res;
    for (std::size_t i = 0; i < art.skins.size(); ++i)
        art.skins[i] = res->m_skins[i].get();
    art.statistics = res->m_statistics.get();
    art.background = res->m_background.get();
    art.smallBackground = res->m_smallBackground.get();
    art.insect = res->m_insect.get();
    art.cellBack = res->m_cellBack.get();
    art.cellBackSmall = res->m_cellBackSmall.get();
    art.particles = res->m_particles.get();
    art.block = res->m_block.get();
    art.mainMenuButton = res->m_mainMenuButton.get();
    art.dynamite = res->m_dynamite.get();
    art.dynamiteGrey = res->m_dynamiteGrey.get();
    return art;
}
