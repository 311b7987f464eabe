// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "objects/Font.h"
#include "utils/FilePack.h"
#include "utils/KeyValueFile.h"

#include <optional>
#include <string>
#include <vector>

// The built game's pack, read once, with the helpers the asset checks share.
class AssetPack {
public:
    static const AssetPack& instance();

    FilePack& pack() const { return m_pack; }
    bool has(const std::string& name) const { return m_pack.contains(name); }
    // The entry's bytes (unscrambled); nothing when the pack lacks the name.
    std::optional<std::string> bytes(const std::string& name) const;
    KeyValueFile keyValues(const std::string& name) const;

private:
    AssetPack();
    mutable FilePack m_pack;
};

struct PictureSize {
    int width = 0;
    int height = 0;
    bool valid = false;
};

// The menu font of the pack, loaded once; a font that does not load fails the test.
const Font& packFont();

// Decodes the named picture of the pack, or the bytes given under that name,
// with the game's image decoders.
PictureSize pictureSize(const std::string& name);
PictureSize pictureSize(const std::string& name, const std::string& bytes);

struct Rect {
    float x = 0, y = 0, w = 0, h = 0;
    float right() const { return x + w; }
    float bottom() const { return y + h; }
    bool overlaps(const Rect& o) const
    {
        return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
    }
    bool inside(const Rect& o) const
    {
        return x >= o.x && y >= o.y && right() <= o.right() && bottom() <= o.bottom();
    }
};
