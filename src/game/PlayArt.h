// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

class Font;
class GameResources;
class Sprite;
class Texture;

// The play-screen pictures the drawing needs, none owned: normally taken from
// the play-screen resources, in tests from any loaded set.
struct PlayArt {
    const Font* font = nullptr;
    std::array<Sprite*, 3> skins{};
    Texture* statistics = nullptr;
    Texture* background = nullptr;
    Texture* smallBackground = nullptr;
    Sprite* insect = nullptr;
    Sprite* cellBack = nullptr;
    Sprite* cellBackSmall = nullptr;
    Sprite* particles = nullptr;
    Sprite* block = nullptr;
    Texture* mainMenuButton = nullptr;
    Texture* dynamite = nullptr;
    Texture* dynamiteGrey = nullptr;

    // The play-screen resources' pictures; empty while they are not built.
    static PlayArt fromResources();
    // The pictures of the given resources.
    static PlayArt from(const GameResources& resources);
    // True when every member is there.
    bool complete() const;
};
