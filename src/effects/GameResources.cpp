// SPDX-License-Identifier: GPL-3.0-or-later
#include "effects/GameResources.h"

#include <cstdio>

#include "utils/FatalError.h"
#include "utils/FilePack.h"
#include "utils/KeyValueFile.h"
#include "utils/XmlNode.h"

#ifdef VM_HAVE_AUDIO
#include "audio/CSoundManager.h"
#include "utils/GameFolders.h"
#endif

namespace {
constexpr const char* kModule = "effects/GameResources";
constexpr const char* kHintsFile = "dat/hints/hints.xml";
constexpr float kGameplayFps = 15.0f;

std::unique_ptr<GameResources> s_resources;

std::unique_ptr<Texture> plainTexture(FilePack& pack, const char* name)
{
    return Texture::load(&pack, name, TextureWrap::Clamp, TextureMipmaps::None);
}

std::unique_ptr<Texture> mipmappedTexture(FilePack& pack, const char* name)
{
    return Texture::load(&pack, name, TextureWrap::Clamp, TextureMipmaps::Build);
}

std::unique_ptr<Sprite> gameplayAnimation(FilePack& pack, const char* name)
{
    std::unique_ptr<Sprite> sprite = Sprite::loadFrameSequence(pack, name);
    sprite->setFps(kGameplayFps);
    sprite->setFlipped(true);
    sprite->setBlend(true);
    return sprite;
}
} // namespace

GameResources& GameResources::create(FilePack& pack)
{
    if (!s_resources)
        s_resources = std::make_unique<GameResources>(pack);
    return *s_resources;
}

GameResources& GameResources::get()
{
    if (!s_resources)
        FatalError::raise("GameResources::get() != NULL", kModule);
    return *s_resources;
}

bool GameResources::exists()
{
    return s_resources != nullptr;
}

void GameResources::destroy()
{
    s_resources.reset();
}

GameResources::GameResources(FilePack& pack)
{
    // Only the file's presence is checked; none of its keys is used.
    KeyValueFile description;
    description.loadFromPack(pack, "dat/game.txt", true);
    loadHints(pack);
    loadFont(pack);
    loadPictures(pack);
    for (std::size_t i = 0; i < m_hintPlaces.size(); ++i)
        m_hintPlaces[i]->picture = plainTexture(pack, hintPictureName(static_cast<int>(i)).c_str());
    registerSounds();
}

GameResources::~GameResources() = default;

void GameResources::loadHints(FilePack& pack)
{
    const PackEntry entry = pack.getFile(kHintsFile);
    if (entry.data.empty())
        return; // an empty document holds no hints
    Xml::XmlNode root;
    try {
        root.parse(entry.chars(), entry.data.size());
    } catch (const Xml::CXmlException& error) {
        FatalError::raise("hint document readable: " + error.message(), kModule, kHintsFile);
    }
    m_hintPlaces = readHintPlaces(root);
}

void GameResources::loadFont(FilePack& pack)
{
    m_fontTexture = plainTexture(pack, "mui/font.tga");
    const PackEntry bytes = pack.getFile("mui/font.tga");
    if (!load(bytes.data.data(), bytes.data.size(), m_fontTexture.get()))
        FatalError::raise("font picture is a 32-bit TGA", kModule, "mui/font.tga");
}

void GameResources::loadPictures(FilePack& pack)
{
    m_background = plainTexture(pack, "dat/game_bg.jpg");
    m_smallBackground = plainTexture(pack, "dat/game_bg_small.jpg");
    m_statistics = plainTexture(pack, "dat/stat.png");
    for (auto& skin : m_skins)
        skin = Sprite::load(pack, "dat/skin01.spr");
    m_cellBack = Sprite::load(pack, "dat/cellback.spr");
    m_cellBackSmall = Sprite::load(pack, "dat/cellback_small.spr");
    m_pathPoint = Sprite::load(pack, "dat/pathpoint.spr");
    m_particles = Sprite::load(pack, "dat/particles.spr");
    // A software renderer draws thousands of sparkles a frame far more cheaply
    // from these (the texture ignores it under other renderers).
    m_particles->texture()->usePremultipliedAlpha();
    m_insect = Sprite::load(pack, "dat/insects.spr");
    m_block = Sprite::load(pack, "dat/block.spr");
    m_gameplay1 = gameplayAnimation(pack, "dat/hints/gameplay.xml");
    m_gameplay2 = gameplayAnimation(pack, "dat/hints/gameplay2.xml");
    m_mainMenuButton = mipmappedTexture(pack, "dat/maun_menu_btn.tga");
    m_dynamite = mipmappedTexture(pack, "dat/dymamite.png");
    m_dynamiteGrey = mipmappedTexture(pack, "dat/dymamite_gray.png");
}

std::vector<std::unique_ptr<HintPlace>> GameResources::readHintPlaces(const Xml::XmlNode& root)
{
    std::vector<std::unique_ptr<HintPlace>> places;
    for (const Xml::XmlNode* element : root.children()) {
        auto place = std::make_unique<HintPlace>();
        place->x = element->floatAttribute("posx", 0.0f);
        place->y = element->floatAttribute("posy", 0.0f);
        place->checkX = place->x + element->floatAttribute("posxcb", 0.0f);
        place->checkY = place->y + element->floatAttribute("posycb", 0.0f);
        places.push_back(std::move(place));
    }
    return places;
}

std::string GameResources::hintPictureName(int index)
{
    char name[40];
    std::snprintf(name, sizeof name, "dat/hints/hint%02d.tga", index);
    return name;
}

void GameResources::registerSounds()
{
#ifdef VM_HAVE_AUDIO
    struct Effect {
        const char* file;
        int id;
    };
    static constexpr Effect kEffects[] = {
        {"wav/glassbreaks.wav", 101}, {"wav/pop.wav", 102},      {"wav/waterdrop2.wav", 103},
        {"wav/bonk.wav", 104},        {"wav/bowl.wav", 105},     {"wav/shot.wav", 106},
        {"wav/select.wav", 107},      {"wav/unselect.wav", 108}, {"wav/takeoff.wav", 109},
        {"wav/btn_click.wav", 1001},
    };
    // Without the game's sound manager (a tool, a test) there is nowhere to put them.
    if (!CSoundManager::exists())
        return;
    CSoundManager& sounds = CSoundManager::get();
    for (const Effect& effect : kEffects)
        sounds.load(GameFolders::current().dataFile(effect.file), effect.id);
#endif
}
