// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class Sprite;
class MenuResources;

enum class CursorShape { Normal = 0, Aiming = 1 };

// The pointer the game draws itself (the system one is hidden): two animated
// shapes, drawn last by every screen and dialog at the pointer position.
class MenuCursor {
public:
    // Replaces the one there was.
    static MenuCursor& create(const MenuResources& resources);
    // Ends the program when there is none.
    static MenuCursor& get();
    // None before create and after destroy: the *Current calls cope with that.
    static bool exists();
    static void destroy();

    MenuCursor(const Sprite& normal, const Sprite& aiming);
    ~MenuCursor();
    MenuCursor(const MenuCursor&) = delete;
    MenuCursor& operator=(const MenuCursor&) = delete;

    void select(CursorShape shape) { m_shape = shape; }
    CursorShape shape() const { return m_shape; }
    void update(float dt);
    // At the pointer in logical coordinates, depth 40.
    void render();
    // At a logical point: where the keys aim when they lead.
    void renderAt(float x, float y);

    // The same on the instance, when there is one.
    static void selectCurrent(CursorShape shape);
    static void updateCurrent(float dt);
    static void renderCurrent();
    static void renderCurrentAt(float x, float y);

private:
    Sprite& current() const;

    std::unique_ptr<Sprite> m_normal;
    std::unique_ptr<Sprite> m_aiming;
    CursorShape m_shape = CursorShape::Normal;
};
