// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Control.h"

#include "audio/CSoundManager.h"
#include "audio/SoundIds.h"
#include "objects/Texture.h"
#include "objects/VertexBatch.h"
#include "ui/KeyboardFocus.h"
#include "utils/KeyValueFile.h"

#include <GL/gl.h>

void Control::setPosition(float x, float y, float z)
{
    m_x = x;
    m_y = y;
    m_z = z;
}

void Control::loadPosition(const KeyValueFile& layout, const std::string& name)
{
    setPosition(layout.getFloat(name + ".x", 0.0f), layout.getFloat(name + ".y", 0.0f),
                layout.getFloat(name + ".z", 0.0f));
}

FocusArea Control::focusArea() const
{
    return {m_x, m_y, m_width, m_height, 8.0f};
}

bool Control::showsFocus() const
{
    return m_focused && KeyboardFocus::isShown();
}

bool Control::contains(int px, int py) const
{
    const int left = int(m_x);
    const int top = int(m_y);
    const int right = int(m_x + m_width);
    const int bottom = int(m_y + m_height);
    return left <= px && px <= right && top <= py && py <= bottom;
}

void Control::drawFrame(int frame, int frameCount) const
{
    if (m_texture == nullptr || frameCount <= 0)
        return;
    const float vLow = float(frame) / float(frameCount);
    const float vHigh = float(frame + 1) / float(frameCount);
    glEnable(GL_TEXTURE_2D);
    m_texture->bind();
    VertexBatch strip(GL_TRIANGLE_STRIP);
    strip.texCoord(0.0f, vHigh);
    strip.vertex(m_x, m_y, m_z);
    strip.texCoord(0.0f, vLow);
    strip.vertex(m_x, m_y + m_height, m_z);
    strip.texCoord(1.0f, vHigh);
    strip.vertex(m_x + m_width, m_y, m_z);
    strip.texCoord(1.0f, vLow);
    strip.vertex(m_x + m_width, m_y + m_height, m_z);
    strip.draw();
    glDisable(GL_TEXTURE_2D);
}

void Control::playClick()
{
    if (CSoundManager::exists())
        CSoundManager::get().play(SoundId::ButtonClick);
}
