// SPDX-License-Identifier: GPL-3.0-or-later
#include "effects/Picker.h"

#include <cstdlib>

#include "board/Field.h"
#include "objects/Sprite.h"

#include <GL/gl.h>

Picker::Picker(Field& field, const Sprite* skin) : m_field(field), m_skin(skin) {}

Picker::~Picker() = default;

void Picker::onLeftButtonDown(float x, float y)
{
    if (m_carrying) {
        tryMoveTo(x, y);
        return;
    }
    const int r = m_field.rowAt(y);
    const int c = m_field.colAt(x, y);
    const int colour = m_field.selectAt(r, c);
    if (colour != kNoColour)
        pick(colour);
    if (colour == kNoColour && m_field.isCell(r, c) && boardIdle() && !m_field.insectActive()) {
        m_field.events().playSound(BoardSound::Bonk, SoundRestart::Always);
        return;
    }
    if (m_field.insectActive())
        fireShot(x, y);
}

void Picker::onLeftButtonUp(float x, float y)
{
    if (!m_carrying)
        return;
    const int r = m_field.rowAt(y);
    const int c = m_field.colAt(x, y);
    if (!m_field.isSelectedAt(r, c))
        tryMoveTo(x, y);
}

void Picker::onRightButtonDown(float, float)
{
    drop();
    m_field.deselectAll();
    m_field.previewPath(m_mouse);
    m_field.events().playSound(BoardSound::Unselect, SoundRestart::Always);
}

void Picker::update(const Vec4& mouse)
{
    m_mouse = mouse;
    const int r = m_field.rowAt(mouse.y);
    const int c = m_field.colAt(mouse.x, mouse.y);
    if (m_carrying) {
        m_carriedPosition = m_field.cellCentre(r, c);
        if (m_carried)
            m_carried->setPosition(m_carriedPosition.x, m_carriedPosition.y);
    }
    // An insect on its way, or the picked flower bursting or swept away.
    if (m_carrying && (m_field.insectActive() || !m_field.hasSelection())) {
        drop();
        m_field.deselectAll();
        m_field.previewPath(m_mouse);
    }
}

void Picker::draw()
{
    if (!m_carrying)
        return;
    m_field.previewPath(m_mouse);
    const int r = m_field.rowAt(m_carriedPosition.y);
    const int c = m_field.colAt(m_carriedPosition.x, m_carriedPosition.y);
    if (!m_carried || !m_field.isCell(r, c))
        return;
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glPushMatrix();
    glTranslatef(m_carriedPosition.x, m_carriedPosition.y, m_carriedPosition.z);
    m_carried->draw();
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void Picker::tryMoveTo(float x, float y)
{
    const bool moved = m_field.moveSelectedTo(m_field.rowAt(y), m_field.colAt(x, y));
    m_field.events().playSound(moved ? BoardSound::Select : BoardSound::Unselect,
                               SoundRestart::Always);
    drop();
    m_field.deselectAll();
}

void Picker::pick(int colour)
{
    m_carrying = true;
    if (m_skin) {
        m_carried = m_skin->newInstance();
        m_carried->setGroup(colour);
        m_carried->setBlend(true);
        m_carried->setFlipped(true);
        m_carried->setFps(static_cast<float>(15 + std::rand() % 30));
    }
    m_field.events().playSound(BoardSound::Select, SoundRestart::Always);
}

void Picker::drop()
{
    m_carried.reset();
    m_carrying = false;
}

void Picker::fireShot(float x, float y)
{
    m_field.events().playSound(BoardSound::Shot, SoundRestart::Always);
    for (int i = 0; i < kShotParticles; ++i) {
        const float dx = static_cast<float>(std::rand() % 100 - 50);
        const float dy = static_cast<float>(std::rand() % 100 - 50);
        const float factor = static_cast<float>(std::rand() % 60 - 30) / 10.0f + 2.5f;
        const Vec4 direction = normalise(Vec4{dx, dy, 0.0f, 1.0f}) * factor;
        const Vec4 start = Vec4{x, y, 0.0f, 1.0f} + direction * 2.0f;
        m_field.events().spark(18.0f, start, direction);
    }
}

bool Picker::boardIdle() const
{
    return m_field.state() == FieldState::Idle && !m_field.finished();
}
