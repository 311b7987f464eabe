#include "game/PlayArt.h"

bool PlayArt::complete() const {
    for (const Sprite* skin : skins)
        if (!skin)
            return false;
    return font && statistics && background && smallBackground && insect && cellBack &&
           cellBackSmall && particles && block && mainMenuButton && dynamite && dynamiteGrey;
}

PlayArt PlayArt::fromResources() { return {}; }
