// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "objects/Sprite.h"

#include <memory>
#include <vector>

// A sprite whose frames are separate image files listed in an XML document:
// the root carries texWrap and texDynamic, each child of the root is a group,
// each child of a group a frame whose text is the image's file name. Every
// frame is drawn with its whole texture.
class FrameSequenceSprite : public Sprite {
public:
    using Groups = std::vector<std::vector<std::unique_ptr<Texture>>>;

    ~FrameSequenceSprite() override;

    std::unique_ptr<Sprite> newInstance() const override;
    bool load(FilePack& pack, const char* bytes, std::size_t size) override;
    void unload() override;
    void draw() override;
    void drawAdditive() override;
    // Also takes the frame count of the new group.
    void setGroup(int group) override;
    void shareFrom(const Sprite& other) override;

    // The texture of the current frame of the current group, if any.
    Texture* currentTexture() const;

private:
    void drawWith(BlendMode mode);

    Groups m_ownedGroups;
    const Groups* m_groupsSource = nullptr; // the owner's list, shared by instances
};
