// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/GridSprite.h"

#include "objects/Texture.h"
#include "objects/VertexBatch.h"
#include "utils/KeyValueFile.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

SpriteDescription SpriteDescription::parse(const char* bytes, std::size_t size)
{
    KeyValueFile file;
    file.parseBuffer(bytes, size, true);
    SpriteDescription description;
    description.fileName = file.getString("file_name", "0");
    description.wrap = file.getInt("tex_wrap", 0) != 0;
    description.dynamic = file.getInt("tex_dynamic", 0) != 0;
    // A count of 0 would make the cell size a division by zero.
    description.groups = std::max(1, file.getInt("groups", 1));
    description.frames = std::max(1, file.getInt("frames", 1));
    return description;
}

GridSprite::~GridSprite()
{
    unload();
}

std::unique_ptr<Sprite> GridSprite::newInstance() const
{
    auto instance = std::make_unique<GridSprite>();
    instance->shareFrom(*this);
    return instance;
}

bool GridSprite::load(FilePack& pack, const char* bytes, std::size_t size)
{
    unload();
    m_pack = &pack;
    const SpriteDescription description = SpriteDescription::parse(bytes, size);
    m_ownedTexture = Texture::load(
        &pack, description.fileName, description.wrap ? TextureWrap::Repeat : TextureWrap::Clamp,
        description.dynamic ? TextureMipmaps::Build : TextureMipmaps::None);
    m_texture = m_ownedTexture.get();
    m_groups = description.groups;
    m_frames = description.frames;
    m_frameWidth = static_cast<float>(m_texture->width() / m_frames);
    m_frameHeight = static_cast<float>(m_texture->height() / m_groups);
    m_frame = 0;
    m_group = 0;
    m_ownsTexture = true;
    return true;
}

void GridSprite::unload()
{
    m_ownedTexture.reset();
    m_texture = nullptr;
    m_ownsTexture = false;
}

Sprite::CellCoords GridSprite::cellCoords() const
{
    const auto frames = static_cast<float>(m_frames);
    const auto groups = static_cast<float>(m_groups);
    return CellCoords{
        static_cast<float>(m_frame) / frames, static_cast<float>(m_frame + 1) / frames,
        static_cast<float>(m_group) / groups, static_cast<float>(m_group + 1) / groups};
}

void GridSprite::draw()
{
    drawWith(BlendMode::Normal);
}

void GridSprite::drawAdditive()
{
    drawWith(BlendMode::Additive);
}

namespace {

// Steps of a quad's brightness. Each step is a draw of its own; a fading
// sparkle loses several of them every frame, so finer steps would not show.
constexpr float kBrightnessSteps = 63.0f;

// A quad's colour times its alpha, a byte a channel in brightness steps:
// what its premultiplied texels are scaled by.
std::uint32_t blendKey(const Sprite::AdditiveQuad& quad)
{
    auto channel = [&quad](float colour) {
        const float scaled = std::clamp(colour * quad.alpha, 0.0f, 1.0f);
        return static_cast<std::uint32_t>(std::lround(scaled * kBrightnessSteps));
    };
    return channel(quad.red) << 16 | channel(quad.green) << 8 | channel(quad.blue);
}

// How many window pixels one unit of the current view spans across.
float pixelsPerUnit()
{
    GLfloat projection[16];
    GLfloat modelView[16];
    GLint viewport[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glGetIntegerv(GL_VIEWPORT, viewport);
    return std::abs(projection[0] * modelView[0]) * static_cast<float>(viewport[2]) / 2.0f;
}

// The smallest level still at least as fine as the quad's pixels: one
// nearest texel a pixel then shows the picture much as a filtered one would,
// never as blocks.
int levelFor(float cellTexels, float quadPixels, int levels)
{
    if (quadPixels <= 0.0f || cellTexels <= 0.0f)
        return 0;
    const auto level = static_cast<int>(std::floor(std::log2(cellTexels / quadPixels)));
    const int smallestCellLevel = std::max(0, static_cast<int>(std::log2(cellTexels)) - 1);
    return std::clamp(level, 0, std::min(levels - 1, smallestCellLevel));
}

void setBlendColour(std::uint32_t key)
{
    auto channel = [key](int shift) {
        return static_cast<float>((key >> shift) & 0xff) / kBrightnessSteps;
    };
    glBlendColor(channel(16), channel(8), channel(0), 1.0f);
}

} // namespace

void GridSprite::drawAdditiveQuads(const std::vector<AdditiveQuad>& quads)
{
    if (m_texture == nullptr || quads.empty())
        return;
    beginStrips(*m_texture, BlendMode::Additive);
    if (m_blend && m_texture->hasPremultipliedAlpha())
        drawPremultipliedQuads(quads);
    else
        drawStraightQuads(quads);
    endStrips();
    setFrameSize(quads.back().width, quads.back().height);
}

void GridSprite::drawStraightQuads(const std::vector<AdditiveQuad>& quads)
{
    // A quad's four corners share one colour: flat shading spares the
    // renderer interpolating it across every pixel.
    glShadeModel(GL_FLAT);
    VertexBatch batch(GL_QUADS, quads.size() * 4);
    for (const AdditiveQuad& quad : quads) {
        batch.colour(quad.red, quad.green, quad.blue, quad.alpha);
        emitQuad(batch, quad);
    }
    batch.draw();
    glShadeModel(GL_SMOOTH);
}

// Texels already carry their alpha, so a quad's whole contribution is the
// texel times one constant: quads of equal colour share a blend colour and
// the texels are drawn as they are. Software renderers take a much cheaper
// path for that than for texels modulated by a colour. Additive blending
// does not depend on the order, so the quads are grouped by colour.
void GridSprite::drawPremultipliedQuads(const std::vector<AdditiveQuad>& quads)
{
    const float cellTexels = static_cast<float>(m_texture->levelZeroWidth()) / m_frames;
    const float unitPixels = pixelsPerUnit();
    std::vector<std::pair<std::uint32_t, const AdditiveQuad*>> keyed;
    keyed.reserve(quads.size());
    for (const AdditiveQuad& quad : quads) {
        const std::uint32_t colour = blendKey(quad);
        if (colour == 0) // adds nothing
            continue;
        const auto level = static_cast<std::uint32_t>(
            levelFor(cellTexels, quad.width * unitPixels, m_texture->levels()));
        keyed.emplace_back(level << 24 | colour, &quad);
    }
    std::sort(keyed.begin(), keyed.end());
    setSparkleState(true);
    // Its memory serves every run.
    VertexBatch batch(GL_QUADS, keyed.size() * 4);
    for (auto run = keyed.begin(); run != keyed.end();) {
        const std::uint32_t key = run->first;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, GLint(key >> 24));
        setBlendColour(key);
        for (; run != keyed.end() && run->first == key; ++run)
            emitQuad(batch, *run->second);
        batch.draw();
    }
    setSparkleState(false);
}

// One nearest texel a pixel from a level of about the quad's size, and no
// per-pixel colour: the cheapest fill software renderers have.
void GridSprite::setSparkleState(bool on)
{
    const GLint filter = on ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, on ? GL_REPLACE : GL_MODULATE);
    if (on) {
        glBlendFunc(GL_CONSTANT_COLOR, GL_ONE);
        return;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glBlendColor(0.0f, 0.0f, 0.0f, 0.0f);
}

void GridSprite::emitQuad(VertexBatch& batch, const AdditiveQuad& quad)
{
    setGroup(quad.group);
    setFrame(quad.frame);
    const CellCoords coords = cellCoords();
    const float vTop = m_flipped ? coords.vHigh : coords.vLow;
    const float vBottom = m_flipped ? coords.vLow : coords.vHigh;
    const float hw = quad.width / 2.0f;
    const float hh = quad.height / 2.0f;
    batch.texCoord(coords.uRight, vTop);
    batch.vertex(quad.x + hw, quad.y - hh, quad.z);
    batch.texCoord(coords.uLeft, vTop);
    batch.vertex(quad.x - hw, quad.y - hh, quad.z);
    batch.texCoord(coords.uLeft, vBottom);
    batch.vertex(quad.x - hw, quad.y + hh, quad.z);
    batch.texCoord(coords.uRight, vBottom);
    batch.vertex(quad.x + hw, quad.y + hh, quad.z);
}

void GridSprite::drawWith(BlendMode mode)
{
    if (m_texture != nullptr)
        drawStrip(*m_texture, cellCoords(), mode);
}
