// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Control.h"

enum class CheckBoxState { Unchecked = 1, UncheckedHover = 2, Checked = 3, CheckedHover = 4 };

// A check box with four frames stacked in its texture. A click toggles it only
// while it is under the mouse, that is after a mouse move onto it.
class CheckBox : public Control {
public:
    CheckBox(Window& owner, Texture* texture);

    bool onMouseMove(int x, int y, std::uint32_t keys) override;
    bool onLeftButtonDown(int x, int y, std::uint32_t keys) override;
    void render() override;
    bool canFocus() const override { return true; }
    void press() override;
    // Leaves the hover states; the checked mark stays.
    void reset() override;

    bool isChecked() const;
    void setChecked(bool checked);
    CheckBoxState state() const { return m_state; }

private:
    CheckBoxState m_state = CheckBoxState::Unchecked;
};
