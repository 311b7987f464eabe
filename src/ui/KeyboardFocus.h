// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

class Control;

// Which control of a window Space and Enter act on, and the glow that shows it.
// The order is the window's reading order (rows top to bottom, each row left
// to right) unless the window declares its own. Whether the glow is shown is
// shared by all windows: keys and the controller show it, the mouse hides it.
class KeyboardFocus {
public:
    enum class Step { Wrap, StopAtEnds };

    // Nothing focused yet: the first use picks the initial control.
    void setOrder(std::vector<Control*> order) { m_order = std::move(order); }
    void setInitial(Control& control) { m_initial = &control; }
    Control* current() const { return m_current; }
    // Moves the focus to `control` (null clears it); the controls learn it.
    void moveTo(Control* control);
    // A focusable control; the initial one if the current one cannot take focus.
    Control* ensure(const std::vector<Control*>& controls);
    // The next (+1) or previous (-1) focusable control in order.
    void step(const std::vector<Control*>& controls, int direction, Step mode);

    void update(float dt) { m_time += dt; }
    // The glow around the current control, in the window's coordinates.
    void render() const;

    static bool isShown() { return s_shown; }
    static void setShown(bool shown) { s_shown = shown; }

private:
    std::vector<Control*> orderOf(const std::vector<Control*>& controls) const;

    std::vector<Control*> m_order;
    Control* m_initial = nullptr;
    Control* m_current = nullptr;
    float m_time = 0.0f;
    static inline bool s_shown = false;
};
