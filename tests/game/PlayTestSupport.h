#pragma once

#include "game/PlayArt.h"

#include <memory>
#include <vector>

class FilePack;
class Font;
class Sprite;
class Texture;

// The pack "main" over the built data/data.pk, made once per test program.
FilePack& mainPack();

// The play-screen pictures loaded from the built pack, owned here.
class LoadedArt {
public:
    LoadedArt();
    ~LoadedArt();
    const PlayArt& art() const { return m_art; }

private:
    Texture* texture(const char* name, bool mipmaps = false);
    Sprite* sprite(const char* name);

    std::vector<std::unique_ptr<Texture>> m_textures;
    std::vector<std::unique_ptr<Sprite>> m_sprites;
    std::unique_ptr<Font> m_font;
    PlayArt m_art;
};
