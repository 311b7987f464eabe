// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Window.h"

// A modal window above the screens. Mouse coordinates are turned into logical
// coordinates relative to the dialog's origin before the controls see them;
// Escape closes it with result 1, Enter with result 0.
class Dialog : public Window {
public:
    Dialog();
    void onMouseMove(int x, int y, std::uint32_t keys) override;
    void onLeftButtonUp(int x, int y, std::uint32_t keys) override;
    void onRightButtonUp(int x, int y, std::uint32_t keys) override;
    void onLeftButtonDown(int x, int y, std::uint32_t keys) override;
    void onKeyDown(int virtualKey) override;
    void onControl(Control& control) override = 0;
    // The base part: the controls, translated by the dialog's position. Each
    // dialog draws its dimming and background first.
    void render() override;

    void setScreenSize(int width, int height);
    void setPosition(float x, float y, float z, float w = 1.0f);
    void setBackgroundSize(int width, int height);
    // An untextured blended rectangle over the whole screen, 0.5 nearer the viewer.
    void drawDim(float r, float g, float b, float a) const;

    int screenWidth() const { return m_screenWidth; }
    int screenHeight() const { return m_screenHeight; }
    float positionX() const { return m_position[0]; }
    float positionY() const { return m_position[1]; }
    float positionZ() const { return m_position[2]; }
    int backgroundWidth() const { return m_backgroundWidth; }
    int backgroundHeight() const { return m_backgroundHeight; }

private:
    int localX(int x) const;
    int localY(int y) const;

    int m_screenWidth = 0;
    int m_screenHeight = 0;
    float m_position[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    int m_backgroundWidth = 100;
    int m_backgroundHeight = 100;
};
