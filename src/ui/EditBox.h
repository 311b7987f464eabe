// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "objects/Font.h"
#include "ui/Control.h"

#include <string>

enum class EditBoxState { Unfocused = 1, Focused = 2 };

// A single-line text field with a blinking caret. It edits only while focused
// (a click into it focuses it) and accepts, typed or pasted, the space and the
// characters its font has a glyph for (without a font, 32 … 126), up to
// maxLength of them. The text is UTF-8; the caret is a byte offset that
// always stands between characters.
class EditBox : public Control {
public:
    static constexpr std::size_t kBufferSize = 1024;

    EditBox(Window& owner, Font* font, float fontSize, Texture* texture);

    bool onMouseMove(int x, int y, std::uint32_t keys) override;
    bool onLeftButtonUp(int x, int y, std::uint32_t keys) override;
    bool onLeftButtonDown(int x, int y, std::uint32_t keys) override;
    void onKeyDown(int virtualKey) override;
    void onChar(char32_t charCode, std::uint16_t repeatCount) override;
    void update(float dt) override;
    void render() override;
    bool canFocus() const override { return true; }
    // The caret keys, and Space and Enter, stay with the text.
    bool keepsKey(int virtualKey) const override;

    const std::string& text() const { return m_text; }
    void setText(const std::string& text);
    void setFocus(bool focused);
    bool hasFocus() const { return m_state == EditBoxState::Focused; }
    void setMaxLength(std::size_t length);
    std::size_t maxLength() const { return m_maxLength; }
    std::size_t caret() const { return m_caret; }
    bool isCaretVisible() const { return m_caretVisible; }
    void setTextColour(TextColour colour) { m_colour = colour; }

    // Inserts the valid UTF-8 of `bytes` at the caret, then cuts the text to maxLength.
    void insert(const std::string& bytes);
    void paste();

private:
    bool isPrintable(char32_t code) const;
    std::string fitted(const std::string& text) const;
    void eraseAt(std::size_t index);
    void moveCaret(std::size_t index);
    float textSize() const;
    void renderCaret() const;
    void renderText() const;
    void updateSize();

    static constexpr float kMargin = 7.0f;
    static constexpr float kCaretWidth = 3.0f;
    static constexpr float kBlinkPeriod = 500.0f;

    Font* m_font;
    float m_fontSize;
    EditBoxState m_state = EditBoxState::Unfocused;
    TextColour m_colour{1.0f, 1.0f, 0.0f, 1.0f};
    std::string m_text;
    std::size_t m_maxLength = 10;
    bool m_caretVisible = false;
    float m_blinkTimer = 0.0f;
    std::size_t m_caret = 0;
};
