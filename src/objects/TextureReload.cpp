// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/TextureReload.h"

#include "objects/ArtSet.h"
#include "objects/Texture.h"

void TextureReload::onNewContext(float pixelsPerUnit)
{
    ArtSet::choose(pixelsPerUnit);
    // Re-reading every picture at once, drawn or not, would hold all of the
    // game's pictures (at twice the size in a large full screen) in memory.
    Texture::deleteAll();
}

void TextureReload::onContextGone()
{
    Texture::deleteAll();
}

void TextureReload::onScaleChanged(float pixelsPerUnit, bool hasContext)
{
    // Each picture is read again from the set now drawn when next bound.
    if (ArtSet::choose(pixelsPerUnit) && hasContext)
        Texture::unloadAll();
}

void TextureReload::onLanguageChanged(bool hasContext)
{
    if (hasContext)
        Texture::unloadAll();
}
