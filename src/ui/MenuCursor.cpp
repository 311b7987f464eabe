// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MenuCursor.h"

#include "objects/Sprite.h"
#include "ui/MenuResources.h"
#include "ui/Window.h"
#include "ui/WindowHost.h"
#include "utils/FatalError.h"

#include <GL/gl.h>

namespace {

std::unique_ptr<MenuCursor>& cursorInstance()
{
    static std::unique_ptr<MenuCursor> cursor;
    return cursor;
}

std::unique_ptr<Sprite> pointerShape(const Sprite& source)
{
    std::unique_ptr<Sprite> shape = source.newInstance();
    shape->setBlend(true);
    shape->setFlipped(true);
    return shape;
}

} // namespace

MenuCursor& MenuCursor::create(const MenuResources& resources)
{
    cursorInstance() = std::make_unique<MenuCursor>(resources.cursor(), resources.cursor2());
    return *cursorInstance();
}

MenuCursor& MenuCursor::get()
{
    if (!cursorInstance())
        FatalError::raise("MenuCursor::get() != NULL", "ui/MenuCursor");
    return *cursorInstance();
}

bool MenuCursor::exists()
{
    return cursorInstance() != nullptr;
}

void MenuCursor::destroy()
{
    cursorInstance().reset();
}

MenuCursor::MenuCursor(const Sprite& normal, const Sprite& aiming)
    : m_normal(pointerShape(normal)), m_aiming(pointerShape(aiming))
{
}

MenuCursor::~MenuCursor() = default;

Sprite& MenuCursor::current() const
{
    return m_shape == CursorShape::Aiming ? *m_aiming : *m_normal;
}

void MenuCursor::update(float dt)
{
    current().update(dt);
}

void MenuCursor::render()
{
    const WindowHost* host = WindowHost::installed();
    if (host == nullptr)
        return;
    const ScreenPoint pointer = host->pointerPosition();
    renderAt(float(Window::toLogicalX(pointer.x)), float(Window::toLogicalY(pointer.y)));
}

void MenuCursor::renderAt(float x, float y)
{
    glPushMatrix();
    glTranslatef(x, y, 40.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    current().draw();
    glPopMatrix();
}

void MenuCursor::selectCurrent(CursorShape shape)
{
    if (exists())
        get().select(shape);
}

void MenuCursor::updateCurrent(float dt)
{
    if (exists())
        get().update(dt);
}

void MenuCursor::renderCurrent()
{
    if (exists())
        get().render();
}

void MenuCursor::renderCurrentAt(float x, float y)
{
    if (exists())
        get().renderAt(x, y);
}
