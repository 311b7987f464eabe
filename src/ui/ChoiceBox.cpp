// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChoiceBox.h"

#include "objects/Font.h"
#include "platform/VirtualKey.h"
#include "ui/Window.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

// The options' label colours: warm white, gold when under the pointer or focus.
constexpr TextColour kText{1.0f, 0.953f, 0.816f, 1.0f};
constexpr TextColour kLit{1.0f, 0.85f, 0.42f, 1.0f};
constexpr TextColour kArrow{0.949f, 0.757f, 0.306f, 1.0f};

} // namespace

ChoiceBox::ChoiceBox(Window& owner, const Font& font, float width, float height, float textSize)
    : Control(owner, nullptr), m_font(font), m_textSize(textSize)
{
    m_width = width;
    m_height = height;
}

void ChoiceBox::setChoices(std::vector<std::string> names, int selected)
{
    m_names = std::move(names);
    m_selected = m_names.empty() ? 0 : std::clamp(selected, 0, int(m_names.size()) - 1);
}

const std::string& ChoiceBox::selectedName() const
{
    static const std::string none;
    return m_names.empty() ? none : m_names[std::size_t(m_selected)];
}

bool ChoiceBox::onMouseMove(int x, int y, std::uint32_t)
{
    m_hover = contains(x, y);
    return m_hover;
}

bool ChoiceBox::onLeftButtonDown(int x, int y, std::uint32_t)
{
    if (!contains(x, y))
        return false;
    step(float(x) < m_x + kArrowWidth ? -1 : 1);
    return true;
}

bool ChoiceBox::keepsKey(int virtualKey) const
{
    return virtualKey == VirtualKey::Left || virtualKey == VirtualKey::Right;
}

void ChoiceBox::onKeyDown(int virtualKey)
{
    if (isFocused() && keepsKey(virtualKey))
        step(virtualKey == VirtualKey::Right ? 1 : -1);
}

void ChoiceBox::step(int direction)
{
    const int count = int(m_names.size());
    if (count < 2)
        return;
    m_selected = (m_selected + direction + count) % count;
    playClick();
    m_owner.onControl(*this);
}

void ChoiceBox::drawArrow(float tipX, float baseX) const
{
    const float middle = m_y + m_height / 2.0f;
    const float half = m_height * 0.28f;
    glDisable(GL_TEXTURE_2D);
    glColor4f(kArrow.r, kArrow.g, kArrow.b, kArrow.a);
    glBegin(GL_TRIANGLES);
    glVertex3f(tipX, middle, m_z);
    glVertex3f(baseX, middle - half, m_z);
    glVertex3f(baseX, middle + half, m_z);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void ChoiceBox::render()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float inset = 6.0f;
    drawArrow(m_x + inset, m_x + kArrowWidth - inset);
    drawArrow(m_x + m_width - inset, m_x + m_width - kArrowWidth + inset);
    const char* name = selectedName().c_str();
    const float room = m_width - 2.0f * kArrowWidth;
    const float size = m_font.sizeToFit(name, m_textSize, room);
    const float x = m_x + (m_width - m_font.measure(name, size)) / 2.0f;
    const float baseline = m_y + (m_height + size) / 2.0f;
    m_font.drawOutlined(name, size, x, baseline, m_z, m_hover || showsFocus() ? kLit : kText);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
}
