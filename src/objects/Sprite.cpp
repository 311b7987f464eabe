// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/Sprite.h"

#include "objects/FrameSequenceSprite.h"
#include "objects/GridSprite.h"
#include "objects/Texture.h"
#include "objects/VertexBatch.h"
#include "utils/FilePack.h"

#include <GL/gl.h>

namespace {

template <typename Kind>
std::unique_ptr<Sprite> loadKind(FilePack& pack, const std::string& fileName)
{
    auto sprite = std::make_unique<Kind>();
    const PackEntry entry = pack.getFile(fileName);
    sprite->load(pack, entry.chars(), entry.data.size());
    sprite->setName(fileName);
    return sprite;
}

} // namespace

std::unique_ptr<Sprite> Sprite::load(FilePack& pack, const std::string& fileName)
{
    return loadKind<GridSprite>(pack, fileName);
}

std::unique_ptr<Sprite> Sprite::loadFrameSequence(FilePack& pack, const std::string& fileName)
{
    return loadKind<FrameSequenceSprite>(pack, fileName);
}

void Sprite::copyFrom(const Sprite& other)
{
    m_position = other.m_position;
    m_vector = other.m_vector;
    m_name.clear();
    m_pack = other.m_pack;
    m_groups = other.m_groups;
    m_frames = other.m_frames;
    m_frameWidth = other.m_frameWidth;
    m_frameHeight = other.m_frameHeight;
    m_frame = other.m_frame;
    m_group = other.m_group;
    m_blend = other.m_blend;
    m_flipped = other.m_flipped;
    m_reverse = other.m_reverse;
    m_time = other.m_time;
    m_frameDuration = other.m_frameDuration;
}

void Sprite::shareFrom(const Sprite& other)
{
    if (&other == this)
        return;
    unload();
    copyFrom(other);
    m_texture = other.m_texture;
    m_ownsTexture = false;
}

void Sprite::update(float dt)
{
    const float cycle = static_cast<float>(m_frames) * m_frameDuration;
    if (!m_reverse) {
        m_time += dt;
    } else if (m_time <= dt) {
        m_time = cycle - dt;
    } else {
        m_time -= dt;
    }
    m_frame = static_cast<int>(m_time / m_frameDuration);
    if (m_frame >= m_frames) {
        m_frame = 0;
        m_time -= cycle;
    }
    if (m_frame < 0) // a reverse step longer than the whole loop
        m_frame = 0;
}

void Sprite::setGroup(int group)
{
    m_group = group >= 0 && group < m_groups ? group : 0;
}

void Sprite::setFps(float fps)
{
    if (fps < 0.001f)
        fps = 0.001f;
    m_frameDuration = 1000.0f / fps;
}

void Sprite::setFrame(int frame)
{
    if (frame >= 0 && frame < m_frames) {
        m_frame = frame;
        m_time = static_cast<float>(frame) * m_frameDuration;
    } else {
        m_frame = 0;
        m_time = 0.0f;
    }
}

void Sprite::setFrameSize(float width, float height)
{
    m_frameWidth = width;
    m_frameHeight = height;
}

void Sprite::setPosition(float x, float y, float z, float w)
{
    m_position = {x, y, z, w};
}

void Sprite::drawStrip(Texture& texture, const CellCoords& coords, BlendMode mode) const
{
    beginStrips(texture, mode);
    const float hw = m_frameWidth / 2.0f;
    const float hh = m_frameHeight / 2.0f;
    const float vTop = m_flipped ? coords.vHigh : coords.vLow;
    const float vBottom = m_flipped ? coords.vLow : coords.vHigh;
    VertexBatch strip(GL_TRIANGLE_STRIP);
    strip.texCoord(coords.uRight, vTop);
    strip.vertex(hw, -hh, 0.0f);
    strip.texCoord(coords.uLeft, vTop);
    strip.vertex(-hw, -hh, 0.0f);
    strip.texCoord(coords.uRight, vBottom);
    strip.vertex(hw, hh, 0.0f);
    strip.texCoord(coords.uLeft, vBottom);
    strip.vertex(-hw, hh, 0.0f);
    strip.draw();
    endStrips();
}

void Sprite::beginStrips(Texture& texture, BlendMode mode) const
{
    glEnable(GL_TEXTURE_2D);
    texture.bind();
    if (m_blend) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, mode == BlendMode::Additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_ALPHA_TEST);
    }
}

void Sprite::endStrips() const
{
    glDisable(GL_TEXTURE_2D);
    if (m_blend)
        glDisable(GL_BLEND);
}

void Sprite::drawAdditiveQuads(const std::vector<AdditiveQuad>& quads)
{
    for (const AdditiveQuad& quad : quads) {
        setGroup(quad.group);
        setFrame(quad.frame);
        setFrameSize(quad.width, quad.height);
        glColor4f(quad.red, quad.green, quad.blue, quad.alpha);
        glPushMatrix();
        glTranslatef(quad.x, quad.y, quad.z);
        drawAdditive();
        glPopMatrix();
    }
}
