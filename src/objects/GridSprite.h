// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "objects/Sprite.h"

#include <memory>
#include <string>

class VertexBatch;

// What a .spr description says; counts below 1 are taken as 1.
struct SpriteDescription {
    std::string fileName = "0";
    bool wrap = false;
    bool dynamic = false;
    int groups = 1;
    int frames = 1;

    static SpriteDescription parse(const char* bytes, std::size_t size);
};

// The sprite of one texture cut into groups x frames equal cells.
class GridSprite : public Sprite {
public:
    ~GridSprite() override;

    std::unique_ptr<Sprite> newInstance() const override;
    bool load(FilePack& pack, const char* bytes, std::size_t size) override;
    void unload() override;
    void draw() override;
    void drawAdditive() override;
    // All quads in one primitive, or one per colour over premultiplied
    // texels: thousands of particles a frame would otherwise cost a state
    // change and a draw call each.
    void drawAdditiveQuads(const std::vector<AdditiveQuad>& quads) override;

    // The texture coordinates of the current frame and group.
    CellCoords cellCoords() const;

private:
    void drawWith(BlendMode mode);
    void drawStraightQuads(const std::vector<AdditiveQuad>& quads);
    void drawPremultipliedQuads(const std::vector<AdditiveQuad>& quads);
    void setSparkleState(bool on);
    // The quad's texture coordinates and corners; leaves its group and frame set.
    void emitQuad(VertexBatch& batch, const AdditiveQuad& quad);

    std::unique_ptr<Texture> m_ownedTexture;
};
