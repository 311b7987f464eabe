// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/BackgroundCache.h"

#include "objects/Texture.h"
#include "objects/VertexBatch.h"

#include <GL/gl.h>

namespace {

struct Copy {
    unsigned name = 0;
    std::uint64_t contextGeneration = 0;
    bool valid = false;
    bool broken = false;
};

Copy copy;
std::uint64_t copyCount = 0;

} // namespace

BackgroundCache::Key BackgroundCache::currentKey(const Texture& texture)
{
    Key key;
    key.texture = &texture;
    key.textureName = texture.name();
    key.upload = texture.uploadNumber();
    glGetIntegerv(GL_VIEWPORT, key.viewport.data());
    glGetFloatv(GL_PROJECTION_MATRIX, key.projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, key.modelView.data());
    key.contextGeneration = Texture::contextGeneration();
    return key;
}

void BackgroundCache::draw(const Texture& texture, const std::function<void()>& drawDirect)
{
    static Key last;
    if (copy.broken) {
        drawDirect();
        return;
    }
    // The texture's name is known only once it has been bound for drawing.
    texture.bind();
    const Key key = currentKey(texture);
    if (copy.valid && key == last) {
        drawCopy(key);
        return;
    }
    drawDirect();
    if (key != last)
        copy.valid = false;
    // Only a frame drawn whole, not one clipped to changed regions (whose
    // other pixels are the last frame's) nor one only recorded, is copied.
    else if (key.textureName != 0 && glIsEnabled(GL_SCISSOR_TEST) == GL_FALSE)
        capture(key);
    last = key;
}

// The view's pixels as they are now, just after the picture was drawn.
void BackgroundCache::capture(const Key& key)
{
    // A name from an earlier context means nothing in this one.
    if (copy.name == 0 || copy.contextGeneration != key.contextGeneration)
        glGenTextures(1, &copy.name);
    copy.contextGeneration = key.contextGeneration;
    glBindTexture(GL_TEXTURE_2D, copy.name);
    Texture::forgetBinding();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    while (glGetError() != GL_NO_ERROR) {
    }
    const auto& view = key.viewport;
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, view[0], view[1], view[2], view[3], 0);
    // Drivers without textures of any size keep drawing the picture itself.
    copy.valid = glGetError() == GL_NO_ERROR;
    copy.broken = !copy.valid;
}

// One texel per pixel: texel centres on pixel centres, no filtering.
void BackgroundCache::drawCopy(const Key& key)
{
    const auto width = float(key.viewport[2]);
    const auto height = float(key.viewport[3]);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, copy.name);
    Texture::forgetBinding();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // The texels as they are: a software renderer skips modulating each by white.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    VertexBatch strip(GL_TRIANGLE_STRIP);
    strip.texCoord(0.0f, 0.0f);
    strip.vertex(0.0f, 0.0f, 0.0f);
    strip.texCoord(0.0f, 1.0f);
    strip.vertex(0.0f, height, 0.0f);
    strip.texCoord(1.0f, 0.0f);
    strip.vertex(width, 0.0f, 0.0f);
    strip.texCoord(1.0f, 1.0f);
    strip.vertex(width, height, 0.0f);
    strip.draw();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    GLint mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    if (mode == GL_RENDER)
        ++copyCount;
}

std::uint64_t BackgroundCache::copiesDrawn()
{
    return copyCount;
}
