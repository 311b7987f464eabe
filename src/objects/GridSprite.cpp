#include "objects/GridSprite.h"

#include "objects/Texture.h"
#include "utils/KeyValueFile.h"

#include <GL/gl.h>

#include <algorithm>

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
        &pack, description.fileName,
        description.wrap ? TextureWrap::Repeat : TextureWrap::Clamp,
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
    return CellCoords{static_cast<float>(m_frame) / frames,
                      static_cast<float>(m_frame + 1) / frames,
                      static_cast<float>(m_group) / groups,
                      static_cast<float>(m_group + 1) / groups};
}

void GridSprite::draw()
{
    drawWith(BlendMode::Normal);
}

void GridSprite::drawAdditive()
{
    drawWith(BlendMode::Additive);
}

void GridSprite::drawAdditiveQuads(const std::vector<AdditiveQuad>& quads)
{
    if (m_texture == nullptr || quads.empty())
        return;
    beginStrips(*m_texture, BlendMode::Additive);
    // A quad's four corners share one colour: flat shading spares the
    // renderer interpolating it across every pixel.
    glShadeModel(GL_FLAT);
    glBegin(GL_QUADS);
    for (const AdditiveQuad& quad : quads) {
        setGroup(quad.group);
        setFrame(quad.frame);
        const CellCoords coords = cellCoords();
        const float vTop = m_flipped ? coords.vHigh : coords.vLow;
        const float vBottom = m_flipped ? coords.vLow : coords.vHigh;
        const float hw = quad.width / 2.0f;
        const float hh = quad.height / 2.0f;
        glColor4f(quad.red, quad.green, quad.blue, quad.alpha);
        glTexCoord2f(coords.uRight, vTop);
        glVertex3f(quad.x + hw, quad.y - hh, quad.z);
        glTexCoord2f(coords.uLeft, vTop);
        glVertex3f(quad.x - hw, quad.y - hh, quad.z);
        glTexCoord2f(coords.uLeft, vBottom);
        glVertex3f(quad.x - hw, quad.y + hh, quad.z);
        glTexCoord2f(coords.uRight, vBottom);
        glVertex3f(quad.x + hw, quad.y + hh, quad.z);
    }
    glEnd();
    glShadeModel(GL_SMOOTH);
    endStrips();
    setFrameSize(quads.back().width, quads.back().height);
}

void GridSprite::drawWith(BlendMode mode)
{
    if (m_texture != nullptr)
        drawStrip(*m_texture, cellCoords(), mode);
}
