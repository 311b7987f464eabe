// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Control.h"

#include <string>
#include <vector>

class Font;

// One of a list of choices, its name between two arrows. A click on the left
// arrow goes to the previous choice, anywhere else on the box to the next;
// with the focus, Left and Right step and a press goes to the next. The list
// wraps; the owner hears of every change.
class ChoiceBox : public Control {
public:
    static constexpr float kArrowWidth = 24.0f;

    ChoiceBox(Window& owner, const Font& font, float width, float height, float textSize);

    void setChoices(std::vector<std::string> names, int selected);
    int selected() const { return m_selected; }
    const std::string& selectedName() const;

    bool onMouseMove(int x, int y, std::uint32_t keys) override;
    bool onLeftButtonDown(int x, int y, std::uint32_t keys) override;
    void onKeyDown(int virtualKey) override;
    void render() override;
    void reset() override { m_hover = false; }
    bool canFocus() const override { return true; }
    void press() override { step(1); }
    bool keepsKey(int virtualKey) const override;

private:
    void step(int direction);
    void drawArrow(float tipX, float baseX) const;

    const Font& m_font;
    float m_textSize;
    std::vector<std::string> m_names;
    int m_selected = 0;
    bool m_hover = false;
};
