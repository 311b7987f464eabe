// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EditBox.h"

#include "objects/Texture.h"
#include "objects/VertexBatch.h"
#include "platform/Clipboard.h"
#include "platform/VirtualKey.h"
#include "ui/WindowHost.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

bool isPrintable(unsigned code)
{
    return code >= 32 && code < 127;
}

bool keyHeld(int virtualKey)
{
    const WindowHost* host = WindowHost::installed();
    return host != nullptr && host->isKeyDown(virtualKey);
}

} // namespace

EditBox::EditBox(Window& owner, Font* font, float fontSize, Texture* texture)
    : Control(owner, texture), m_font(font), m_fontSize(fontSize)
{
    m_width = 130.0f;
    m_height = 60.0f;
    updateSize();
}

void EditBox::updateSize()
{
    if (m_texture == nullptr)
        return;
    m_width = float(m_texture->width());
    m_height = float(m_texture->height()) / 2.0f;
}

bool EditBox::onLeftButtonDown(int x, int y, std::uint32_t)
{
    const bool inside = contains(x, y);
    setFocus(inside);
    return inside;
}

bool EditBox::onLeftButtonUp(int x, int y, std::uint32_t)
{
    if (!contains(x, y))
        return false;
    setFocus(true);
    return true;
}

bool EditBox::onMouseMove(int x, int y, std::uint32_t)
{
    return contains(x, y);
}

void EditBox::onKeyDown(int virtualKey)
{
    if (!hasFocus())
        return;
    switch (virtualKey) {
    case VirtualKey::Backspace:
        if (m_caret > 0) {
            --m_caret;
            eraseAt(m_caret);
        }
        break;
    case VirtualKey::Delete:
        if (m_caret < m_text.size())
            eraseAt(m_caret);
        break;
    case VirtualKey::Home:
        moveCaret(0);
        break;
    case VirtualKey::End:
        moveCaret(m_text.size());
        break;
    case VirtualKey::Left:
        moveCaret(m_caret > 0 ? m_caret - 1 : 0);
        break;
    case VirtualKey::Right:
        moveCaret(std::min(m_caret + 1, m_text.size()));
        break;
    case VirtualKey::V:
        if (keyHeld(VirtualKey::Control))
            paste();
        break;
    case VirtualKey::Insert:
        if (keyHeld(VirtualKey::Shift))
            paste();
        break;
    default:
        break;
    }
}

bool EditBox::keepsKey(int virtualKey) const
{
    return virtualKey == VirtualKey::Left || virtualKey == VirtualKey::Right ||
           virtualKey == VirtualKey::Space || virtualKey == VirtualKey::Enter;
}

void EditBox::onChar(std::uint16_t charCode, std::uint16_t)
{
    if (hasFocus() && isPrintable(charCode))
        insert(std::string(1, char(charCode)));
}

void EditBox::eraseAt(std::size_t index)
{
    m_text.erase(index, 1);
    m_caretVisible = true;
}

void EditBox::moveCaret(std::size_t index)
{
    m_caret = index;
    m_caretVisible = true;
}

void EditBox::insert(const std::string& bytes)
{
    std::string text = m_text.substr(0, m_caret) + bytes + m_text.substr(m_caret);
    text.resize(std::min(text.size(), kBufferSize - 1));
    m_caret += bytes.size();
    if (text.size() > m_maxLength)
        text.resize(m_maxLength);
    m_text = std::move(text);
    m_caret = std::min({m_caret, m_maxLength, m_text.size()});
}

void EditBox::paste()
{
    const Clipboard& clipboard = Clipboard::current();
    if (!clipboard.hasText())
        return;
    std::string text = clipboard.text();
    for (char& c : text)
        if (!isPrintable(static_cast<unsigned char>(c)))
            c = ' ';
    insert(text);
}

void EditBox::setText(const std::string& text)
{
    m_text = text.substr(0, std::min(m_maxLength, kBufferSize - 1));
    m_caret = m_text.size();
}

void EditBox::setFocus(bool focused)
{
    m_state = focused ? EditBoxState::Focused : EditBoxState::Unfocused;
}

void EditBox::setMaxLength(std::size_t length)
{
    m_maxLength = std::min(length, kBufferSize - 1);
}

void EditBox::update(float dt)
{
    updateSize();
    m_blinkTimer += dt;
    if (m_blinkTimer >= kBlinkPeriod) {
        m_caretVisible = !m_caretVisible;
        m_blinkTimer = 0.0f;
    }
}

void EditBox::render()
{
    updateSize();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawFrame(hasFocus() ? 1 : 0, 2);
    if (hasFocus() && m_caretVisible)
        renderCaret();
    renderText();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
}

float EditBox::textSize() const
{
    // Text wider than the box is drawn smaller rather than run out of it.
    const float room = m_width - 2.0f * kMargin - kCaretWidth;
    return m_font != nullptr ? m_font->sizeToFit(m_text.c_str(), m_fontSize, room) : m_fontSize;
}

void EditBox::renderCaret() const
{
    const float inset = (m_height - m_fontSize) / 2.0f;
    const std::string before = m_text.substr(0, m_caret);
    const float left =
        m_x + kMargin + (m_font != nullptr ? m_font->measure(before.c_str(), textSize()) : 0.0f);
    const float top = m_y + inset;
    const float bottom = m_y + m_height - inset;
    glDisable(GL_TEXTURE_2D);
    glColor4f(m_colour.r, m_colour.g, m_colour.b, m_colour.a);
    VertexBatch strip(GL_TRIANGLE_STRIP);
    strip.vertex(left, top, m_z);
    strip.vertex(left, bottom, m_z);
    strip.vertex(left + kCaretWidth, top, m_z);
    strip.vertex(left + kCaretWidth, bottom, m_z);
    strip.draw();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void EditBox::renderText() const
{
    if (m_font == nullptr)
        return;
    const float size = textSize();
    const float baseline = m_y + m_height - (m_height - size) / 2.0f;
    glTranslatef(0.0f, 0.0f, 0.5f);
    m_font->drawOutlined(m_text.c_str(), size, m_x + kMargin, baseline, 20.0f, m_colour);
    glTranslatef(0.0f, 0.0f, -0.5f);
}
