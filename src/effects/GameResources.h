// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "objects/Font.h"
#include "objects/Sprite.h"
#include "objects/Texture.h"

class FilePack;

namespace Xml {
class XmlNode;
}

// Where one on-screen hint is shown, with its picture.
struct HintPlace {
    float x = 0.0f;
    float y = 0.0f;
    // Read and kept; nothing draws or tests this spot.
    float checkX = 0.0f;
    float checkY = 0.0f;
    std::unique_ptr<Texture> picture;
};

// Every picture, sprite and animation of the play screen, loaded once at
// start-up; also the play screen's font. The board, the effects and the
// play screen draw from it and never load anything themselves.
class GameResources : public Font {
public:
    static constexpr int kSkins = 3;

    // Builds the resources from the pack on the first call; later calls
    // return the same ones.
    static GameResources& create(FilePack& pack);
    // Ends the program while they are not built.
    static GameResources& get();
    static bool exists();
    static void destroy();

    // Loads everything from the pack; a missing file ends the program.
    explicit GameResources(FilePack& pack);
    ~GameResources() override;
    GameResources(const GameResources&) = delete;
    GameResources& operator=(const GameResources&) = delete;

    // One place per child of the hint document's root, in document order,
    // pictures not yet loaded; missing attributes count as 0.
    static std::vector<std::unique_ptr<HintPlace>> readHintPlaces(const Xml::XmlNode& root);
    static std::string hintPictureName(int index);

    // Declared so that sprite instances made from a sprite go before it.
    std::unique_ptr<Texture> m_fontTexture;
    std::unique_ptr<Texture> m_background;
    std::unique_ptr<Texture> m_smallBackground;
    std::unique_ptr<Texture> m_statistics;
    std::array<std::unique_ptr<Sprite>, kSkins> m_skins;
    std::unique_ptr<Sprite> m_cellBack;
    std::unique_ptr<Sprite> m_cellBackSmall;
    std::unique_ptr<Sprite> m_pathPoint;
    std::unique_ptr<Sprite> m_particles;
    std::unique_ptr<Sprite> m_insect;
    std::unique_ptr<Sprite> m_block;
    std::unique_ptr<Sprite> m_gameplay1;
    std::unique_ptr<Sprite> m_gameplay2;
    std::unique_ptr<Texture> m_mainMenuButton;
    std::unique_ptr<Texture> m_dynamite;
    std::unique_ptr<Texture> m_dynamiteGrey;
    std::vector<std::unique_ptr<HintPlace>> m_hintPlaces;

private:
    void loadFont(FilePack& pack);
    void loadPictures(FilePack& pack);
    void loadHints(FilePack& pack);
    static void registerSounds();
};
