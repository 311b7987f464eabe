// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/MenuDrawing.h"

#include "app/Application.h"
#include "objects/BackgroundCache.h"
#include "objects/FrameRecording.h"
#include "objects/Texture.h"
#include "objects/VertexBatch.h"
#include "platform/GlDriver.h"

#include <GL/gl.h>

namespace MenuDrawing {

void setProjection(float logicalWidth, float logicalHeight)
{
    Application& application = Application::get();
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_LIGHTING);
    // The intro's alpha test must not cut the menus' faint shadows and dimming.
    glDisable(GL_ALPHA_TEST);
    application.camera().applyViewport(float(application.clientWidth()),
                                       float(application.clientHeight()));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, double(logicalWidth), double(logicalHeight), 0.0, -50.0, 50.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void setIntroProjection(float logicalWidth, float logicalHeight)
{
    setProjection(logicalWidth, logicalHeight);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
}

void clearToBlack()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    FrameRecording::clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
}

void drawBackground(const Texture* texture)
{
    // The picture replaces every pixel, so a software renderer (whose fill
    // is the CPU) skips the clear; a GPU, tile-based ones above all, draws
    // fastest into a cleared buffer.
    if (texture == nullptr || !GlDriver::rendersInSoftware())
        clearToBlack();
    if (texture == nullptr)
        return;
    glDisable(GL_DEPTH_TEST);
    BackgroundCache::draw(*texture, [texture] {
        drawQuad(texture, -112.0f, -212.0f, 912.0f, 812.0f, 0.0f, 1.0f, false);
    });
}

void drawQuad(const Texture* texture, float x0, float y0, float x1, float y1, float z, float alpha,
              bool blend)
{
    if (texture == nullptr)
        return;
    glEnable(GL_TEXTURE_2D);
    texture->bind();
    if (blend) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    VertexBatch strip(GL_TRIANGLE_STRIP);
    strip.texCoord(0.0f, 1.0f);
    strip.vertex(x0, y0, z);
    strip.texCoord(0.0f, 0.0f);
    strip.vertex(x0, y1, z);
    strip.texCoord(1.0f, 1.0f);
    strip.vertex(x1, y0, z);
    strip.texCoord(1.0f, 0.0f);
    strip.vertex(x1, y1, z);
    strip.draw();
    if (blend)
        glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

} // namespace MenuDrawing
