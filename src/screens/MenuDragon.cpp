// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/MenuDragon.h"

#include "app/Application.h"
#include "objects/Sprite.h"
#include "ui/Window.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float kPi = 3.14159f;
// Somewhat small and see-through, so that words painted on a screen's
// picture stay readable under a dragon resting on them.
constexpr float kScale = 0.85f;
constexpr float kOpacity = 0.7f;
constexpr float kShadowOpacity = 0.2f;

float radians(float degrees)
{
    return degrees * kPi / 180.0f;
}

bool outsideArea(const MenuDragon& dragon)
{
    return dragon.y() < -50.0f || dragon.x() < -50.0f || dragon.y() > 750.0f || dragon.x() > 850.0f;
}

} // namespace

MenuDragon::MenuDragon(std::unique_ptr<Sprite> sprite) : m_sprite(std::move(sprite))
{
    m_flyTime = float(std::rand() % 7000 + 3000);
    m_restTime = float(std::rand() % 1000 + 1000);
}

MenuDragon::~MenuDragon() = default;
MenuDragon::MenuDragon(MenuDragon&&) noexcept = default;
MenuDragon& MenuDragon::operator=(MenuDragon&&) noexcept = default;

void MenuDragon::setPosition(float x, float y)
{
    m_x = x;
    m_y = y;
    m_z = 0.0f;
    m_w = 1.0f;
}

void MenuDragon::update(float dt, float pointerX, float pointerY)
{
    const float k = dt / 6.0f;
    if (!isResting())
        fly(dt, k);
    else
        rest(dt, k, pointerX, pointerY);
    if (m_heading > 360.0f)
        m_heading -= 360.0f;
    else if (m_heading < -360.0f)
        m_heading += 360.0f;
    m_sprite->update(dt);
}

void MenuDragon::fly(float dt, float k)
{
    m_flyTime -= dt;
    m_sprite->setFps(45.0f);
    m_heading += k * m_turn;
    m_x += k * m_speed * std::sin(radians(m_heading));
    m_y -= k * m_speed * std::cos(radians(m_heading));
}

void MenuDragon::rest(float dt, float k, float pointerX, float pointerY)
{
    m_heading += k * m_turn / 2.0f;
    m_sprite->setFps(10.0f);
    m_restTime -= dt;
    const float distance = std::hypot(pointerX - m_x, pointerY - m_y);
    if (m_restTime < 0.0f || distance <= kTakeOffDistance) {
        m_flyTime = float(std::rand() % 5000 + 2500);
        m_restTime = float(std::rand() % 5000 + 2500);
    }
}

void MenuDragon::render() const
{
    float ox = m_x / 20.0f - 20.0f;
    float oy = m_y / 20.0f - 15.0f;
    if (isResting()) {
        ox /= 4.0f;
        oy /= 4.0f;
    }
    glColor4f(0.0f, 0.0f, 0.0f, kShadowOpacity);
    drawAt(m_x + ox, m_y + oy, 1.1f * kScale);
    glColor4f(1.0f, 1.0f, 1.0f, kOpacity);
    drawAt(m_x, m_y, kScale);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void MenuDragon::drawAt(float x, float y, float scale) const
{
    glPushMatrix();
    glTranslatef(x, y, m_z);
    glRotatef(m_heading, 0.0f, 0.0f, 1.0f);
    glScalef(scale, scale, 1.0f);
    m_sprite->draw();
    glPopMatrix();
}

DragonFlock::DragonFlock(const Sprite& dragonSprite, DragonColours colours)
{
    m_dragons.reserve(kCount);
    for (int i = 0; i < kCount; ++i) {
        std::unique_ptr<Sprite> sprite = dragonSprite.newInstance();
        sprite->setBlend(true);
        sprite->setFlipped(true);
        if (colours == DragonColours::ByIndex) {
            sprite->setGroup(i % 4);
            sprite->setFrame(std::rand() % std::max(1, sprite->frames()));
        } else {
            sprite->setGroup(std::rand() % 3);
        }
        MenuDragon dragon(std::move(sprite));
        const float x = float(std::rand() % 800);
        const float y = float(std::rand() % 100 + 600);
        dragon.setPosition(x, y);
        dragon.setSpeed(float(std::rand() % 100) / 100.0f + 1.0f);
        dragon.setTurn(float(std::rand() % 200 - 100) / 200.0f);
        m_dragons.push_back(std::move(dragon));
    }
}

void DragonFlock::step(float dt)
{
    float px = -1000.0f, py = -1000.0f;
    if (Application::exists() && Application::get().input().isCreated()) {
        const ScreenPoint pointer = Application::get().input().pointerPosition();
        px = float(Window::toLogicalX(pointer.x));
        py = float(Window::toLogicalY(pointer.y));
    }
    step(dt, px, py);
}

void DragonFlock::step(float dt, float pointerX, float pointerY)
{
    for (MenuDragon& dragon : m_dragons) {
        dragon.update(dt, pointerX, pointerY);
        if (std::rand() % 20 == 11)
            dragon.setTurn(float(std::rand() % 200 - 100) / 100.0f);
        if (outsideArea(dragon))
            dragon.setPosition(float(std::rand() % 800), 650.0f);
    }
}

void DragonFlock::render() const
{
    for (const MenuDragon& dragon : m_dragons)
        if (dragon.isResting())
            dragon.render();
    for (const MenuDragon& dragon : m_dragons)
        if (!dragon.isResting())
            dragon.render();
}
