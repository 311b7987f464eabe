// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/FrameSequenceSprite.h"

#include "objects/Texture.h"
#include "utils/XmlNode.h"

#include <algorithm>
#include <cctype>

namespace {

bool isTrue(const std::string& value)
{
    std::string lower;
    for (char c : value)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "true" || lower == "1" || lower == "yes";
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

FrameSequenceSprite::~FrameSequenceSprite()
{
    unload();
}

std::unique_ptr<Sprite> FrameSequenceSprite::newInstance() const
{
    auto instance = std::make_unique<FrameSequenceSprite>();
    instance->shareFrom(*this);
    return instance;
}

// A malformed document throws Xml::CXmlException from the reader.
bool FrameSequenceSprite::load(FilePack& pack, const char* bytes, std::size_t size)
{
    unload();
    m_pack = &pack;
    if (size == 0)
        return false; // the reader would take an empty buffer for a file name
    Xml::XmlNode root;
    root.parse(bytes, size);
    const auto wrap =
        isTrue(root.attribute("texWrap", "false")) ? TextureWrap::Repeat : TextureWrap::Clamp;
    const auto mipmaps = isTrue(root.attribute("texDynamic", "false")) ? TextureMipmaps::Build
                                                                       : TextureMipmaps::None;
    for (const Xml::XmlNode* groupNode : root.children()) {
        auto& group = m_ownedGroups.emplace_back();
        for (const Xml::XmlNode* frameNode : groupNode->children())
            group.push_back(Texture::load(&pack, trimmed(frameNode->text()), wrap, mipmaps));
    }
    m_groupsSource = &m_ownedGroups;
    m_ownsTexture = true;
    m_groups = std::max<int>(1, static_cast<int>(m_ownedGroups.size()));
    m_frame = 0;
    m_group = 0;
    setGroup(0);
    m_texture = currentTexture();
    if (m_texture != nullptr)
        setFrameSize(static_cast<float>(m_texture->width()),
                     static_cast<float>(m_texture->height()));
    return true;
}

void FrameSequenceSprite::unload()
{
    m_ownedGroups.clear();
    m_groupsSource = nullptr;
    m_texture = nullptr;
    m_ownsTexture = false;
}

void FrameSequenceSprite::setGroup(int group)
{
    Sprite::setGroup(group);
    int frames = 0;
    if (m_groupsSource != nullptr && static_cast<std::size_t>(m_group) < m_groupsSource->size())
        frames = static_cast<int>((*m_groupsSource)[static_cast<std::size_t>(m_group)].size());
    m_frames = std::max(1, frames);
    if (m_frame >= m_frames)
        setFrame(0);
}

void FrameSequenceSprite::shareFrom(const Sprite& other)
{
    Sprite::shareFrom(other);
    if (const auto* sequence = dynamic_cast<const FrameSequenceSprite*>(&other))
        m_groupsSource = sequence->m_groupsSource;
}

Texture* FrameSequenceSprite::currentTexture() const
{
    if (m_groupsSource == nullptr || m_group < 0 || m_frame < 0 ||
        static_cast<std::size_t>(m_group) >= m_groupsSource->size())
        return nullptr;
    const auto& frames = (*m_groupsSource)[static_cast<std::size_t>(m_group)];
    if (static_cast<std::size_t>(m_frame) >= frames.size())
        return nullptr;
    return frames[static_cast<std::size_t>(m_frame)].get();
}

void FrameSequenceSprite::draw()
{
    drawWith(BlendMode::Normal);
}

void FrameSequenceSprite::drawAdditive()
{
    drawWith(BlendMode::Additive);
}

void FrameSequenceSprite::drawWith(BlendMode mode)
{
    if (Texture* texture = currentTexture())
        drawStrip(*texture, CellCoords{0.0f, 1.0f, 0.0f, 1.0f}, mode);
}
