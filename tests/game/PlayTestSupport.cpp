#include "PlayTestSupport.h"

#include "objects/Font.h"
#include "objects/Sprite.h"
#include "objects/Texture.h"
#include "utils/FilePack.h"

#include <gtest/gtest.h>

FilePack& mainPack() {
    if (FilePack* pack = getPack("main"))
        return *pack;
    FilePack* pack = createPack("main");
    pack->setKey(kMainPackKey);
    if (!pack->load(VM_GAME_DIR "/data/data.pk"))
        ADD_FAILURE() << "the built pack " VM_GAME_DIR "/data/data.pk cannot be read";
    return *pack;
}

LoadedArt::LoadedArt() {
    Texture* fontTexture = texture("mui/font.tga");
    const PackEntry fontFile = mainPack().getFile("mui/font.tga");
    m_font = std::make_unique<Font>();
    m_font->load(fontFile.data.data(), fontFile.data.size(), fontTexture);
    m_art.font = m_font.get();
    m_art.background = texture("dat/game_bg.jpg");
    m_art.smallBackground = texture("dat/game_bg_small.jpg");
    m_art.statistics = texture("dat/stat.jpg");
    for (Sprite*& skin : m_art.skins)
        skin = sprite("dat/skin01.spr");
    m_art.cellBack = sprite("dat/cellback.spr");
    m_art.cellBackSmall = sprite("dat/cellback_small.spr");
    m_art.particles = sprite("dat/particles.spr");
    m_art.insect = sprite("dat/insects.spr");
    m_art.block = sprite("dat/block.spr");
    m_art.mainMenuButton = texture("dat/maun_menu_btn.tga", true);
    m_art.dynamite = texture("dat/dymamite.png", true);
    m_art.dynamiteGrey = texture("dat/dymamite_gray.png", true);
}

LoadedArt::~LoadedArt() = default;

Texture* LoadedArt::texture(const char* name, bool mipmaps) {
    m_textures.push_back(Texture::load(&mainPack(), name, TextureWrap::Clamp,
                                       mipmaps ? TextureMipmaps::Build : TextureMipmaps::None));
    return m_textures.back().get();
}

Sprite* LoadedArt::sprite(const char* name) {
    m_sprites.push_back(Sprite::load(mainPack(), name));
    return m_sprites.back().get();
}
