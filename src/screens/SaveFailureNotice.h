// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Window.h"

#include <memory>
#include <string>
#include <vector>

class Font;

// One short outlined line at the top of whatever is on show, for a few
// seconds, the first time in a session that a player's file could not be
// written: settings, scores or the saved game would otherwise be lost
// without a word. The shell draws it over every screen, as its overlay.
class SaveFailureNotice : public Window {
public:
    static constexpr float kShownMilliseconds = 6000.0f;
    static constexpr float kFadeMilliseconds = 600.0f;
    static constexpr float kTextSize = 26.0f;

    explicit SaveFailureNotice(const Font& font);

    // The line for a failed write's errno.
    static std::string textFor(int error);

    // Picks up the session's first failed save once, then counts its time down.
    void update(float dt) override;
    void render() override;
    // The line centred at the top of the screen, whatever the projection.
    static void drawLine(const Font& font, const std::string& text, float alpha);
    // How the text is drawn: on one line unless that would shrink it by more
    // than a quarter, then in two (after its ": " or at a space before its
    // middle) when that draws it larger.
    struct Layout {
        std::vector<std::string> lines;
        float size = 0.0f;
    };
    static Layout layout(const Font& font, const std::string& text);
    bool rendersStateOnly() const override { return true; }

    bool isShowing() const { return m_remaining > 0.0f; }
    const std::string& text() const { return m_text; }

private:
    const Font& m_font;
    std::string m_text;
    float m_remaining = 0.0f;
    bool m_told = false;
    unsigned m_generation = 0;
};
