// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CheckBox.h"

#include "objects/Texture.h"
#include "ui/Window.h"

#include <GL/gl.h>

CheckBox::CheckBox(Window& owner, Texture* texture) : Control(owner, texture)
{
    setPosition(200.0f, 40.0f, 0.0f);
    if (texture != nullptr) {
        m_width = float(texture->width());
        m_height = float(texture->height()) / 4.0f;
    }
}

bool CheckBox::onMouseMove(int x, int y, std::uint32_t)
{
    if (contains(x, y)) {
        if (m_state == CheckBoxState::Unchecked)
            m_state = CheckBoxState::UncheckedHover;
        else if (m_state == CheckBoxState::Checked)
            m_state = CheckBoxState::CheckedHover;
        return true;
    }
    if (m_state == CheckBoxState::UncheckedHover)
        m_state = CheckBoxState::Unchecked;
    else if (m_state == CheckBoxState::CheckedHover)
        m_state = CheckBoxState::Checked;
    return false;
}

bool CheckBox::onLeftButtonDown(int, int, std::uint32_t)
{
    if (m_state == CheckBoxState::UncheckedHover)
        m_state = CheckBoxState::CheckedHover;
    else if (m_state == CheckBoxState::CheckedHover)
        m_state = CheckBoxState::UncheckedHover;
    else
        return false;
    playClick();
    m_owner.onControl(*this);
    return true;
}

void CheckBox::press()
{
    setChecked(!isChecked());
    playClick();
    m_owner.onControl(*this);
}

void CheckBox::render()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    CheckBoxState look = m_state;
    if (showsFocus() && look == CheckBoxState::Unchecked)
        look = CheckBoxState::UncheckedHover;
    else if (showsFocus() && look == CheckBoxState::Checked)
        look = CheckBoxState::CheckedHover;
    drawFrame(int(look) - 1, 4);
    glDisable(GL_BLEND);
}

void CheckBox::reset()
{
    m_state = isChecked() ? CheckBoxState::Checked : CheckBoxState::Unchecked;
}

bool CheckBox::isChecked() const
{
    return m_state == CheckBoxState::Checked || m_state == CheckBoxState::CheckedHover;
}

void CheckBox::setChecked(bool checked)
{
    m_state = checked ? CheckBoxState::Checked : CheckBoxState::Unchecked;
}
