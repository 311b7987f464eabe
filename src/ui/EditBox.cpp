// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EditBox.h"

#include "objects/Texture.h"
#include "objects/VertexBatch.h"
#include "platform/Clipboard.h"
#include "platform/VirtualKey.h"
#include "ui/WindowHost.h"
#include "utils/Utf8.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

constexpr char32_t kSpace = ' ';

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
            m_caret = Utf8::previous(m_text, m_caret);
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
        moveCaret(Utf8::previous(m_text, m_caret));
        break;
    case VirtualKey::Right:
        moveCaret(m_caret + Utf8::decode(m_text.c_str() + m_caret).length);
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

bool EditBox::isPrintable(char32_t code) const
{
    if (code < kSpace || code == 0x7F)
        return false;
    return m_font != nullptr ? code == kSpace || m_font->hasGlyph(code) : code < 0x7F;
}

void EditBox::onChar(char32_t charCode, std::uint16_t)
{
    if (!hasFocus() || !isPrintable(charCode))
        return;
    std::string bytes;
    Utf8::append(bytes, charCode);
    insert(bytes);
}

void EditBox::eraseAt(std::size_t index)
{
    m_text.erase(index, Utf8::decode(m_text.c_str() + index).length);
    m_caretVisible = true;
}

void EditBox::moveCaret(std::size_t index)
{
    m_caret = index;
    m_caretVisible = true;
}

// Cut to maxLength characters and the buffer's bytes, never inside a character.
std::string EditBox::fitted(const std::string& text) const
{
    return text.substr(0, Utf8::prefixBytes(text, m_maxLength, kBufferSize - 1));
}

void EditBox::insert(const std::string& bytes)
{
    const std::string valid = Utf8::valid(bytes);
    m_text = fitted(m_text.substr(0, m_caret) + valid + m_text.substr(m_caret));
    m_caret = std::min(m_caret + valid.size(), m_text.size());
}

void EditBox::paste()
{
    const Clipboard& clipboard = Clipboard::current();
    if (!clipboard.hasText())
        return;
    // Each character the box cannot show, and each invalid byte, becomes a space.
    const std::string text = clipboard.text();
    std::string shown;
    for (const char* c = text.c_str(); *c != '\0';) {
        const Utf8::Unit unit = Utf8::decode(c);
        c += unit.length;
        Utf8::append(shown, isPrintable(unit.code) ? unit.code : kSpace);
    }
    insert(shown);
}

void EditBox::setText(const std::string& text)
{
    m_text = fitted(Utf8::valid(text));
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
