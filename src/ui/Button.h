// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Control.h"

enum class ButtonState { Normal = 1, Hover = 2, Pressed = 3 };

// A push button with four frames stacked in its texture. It acts on the press:
// the owner's onControl runs at once. A disabled button ignores the mouse and
// is not drawn, or drawn in its fourth, grey frame when it should stay in view.
class Button : public Control {
public:
    Button(Window& owner, Texture* texture);

    bool onMouseMove(int x, int y, std::uint32_t keys) override;
    bool onLeftButtonUp(int x, int y, std::uint32_t keys) override;
    bool onLeftButtonDown(int x, int y, std::uint32_t keys) override;
    void render() override;
    void reset() override { m_state = ButtonState::Normal; }
    bool isUnder(int x, int y) const override { return m_enabled && contains(x, y); }
    bool canFocus() const override { return m_enabled; }
    void press() override;
    // The pill shape of the buttons' art.
    FocusArea focusArea() const override;

    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isEnabled() const { return m_enabled; }
    void setGreyWhenDisabled(bool grey) { m_greyWhenDisabled = grey; }
    ButtonState state() const { return m_state; }

private:
    ButtonState m_state = ButtonState::Normal;
    bool m_enabled = true;
    bool m_greyWhenDisabled = false;
};
