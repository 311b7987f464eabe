// SPDX-License-Identifier: GPL-3.0-or-later
#include "AssetPack.h"

#include "image/Image.h"

#include <gtest/gtest.h>

AssetPack::AssetPack()
{
    m_pack.setKey(kMainPackKey);
    if (!m_pack.load(VM_GAME_DIR "/data/data.pk"))
        ADD_FAILURE() << "the built pack " VM_GAME_DIR "/data/data.pk cannot be read";
}

const AssetPack& AssetPack::instance()
{
    static const AssetPack pack;
    return pack;
}

std::optional<std::string> AssetPack::bytes(const std::string& name) const
{
    if (!m_pack.contains(name))
        return std::nullopt;
    auto entry = m_pack.findFile(name);
    if (!entry)
        return std::nullopt;
    return std::string(entry->chars(), entry->data.size());
}

KeyValueFile AssetPack::keyValues(const std::string& name) const
{
    KeyValueFile file;
    if (auto text = bytes(name))
        file.parseBuffer(text->data(), text->size(), true);
    return file;
}

const Font& packFont()
{
    static const std::string bytes = AssetPack::instance().bytes("mui/font.tga").value_or("");
    static Font font;
    static const bool loaded =
        font.load(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), nullptr);
    EXPECT_TRUE(loaded) << "mui/font.tga does not load as a font";
    return font;
}

PictureSize pictureSize(const std::string& name)
{
    return pictureSize(name, AssetPack::instance().bytes(name).value_or(""));
}

PictureSize pictureSize(const std::string& name, const std::string& bytes)
{
    if (bytes.empty())
        return {};
    Image image;
    image.load(name, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!image.isValid())
        return {};
    return {image.width(), image.height(), true};
}
