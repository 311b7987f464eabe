// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Control.h"

// A slider: a knob dragged along a track of `length` logical pixels between
// minimum and maximum; a press on the track brings the knob there to be dragged. The owner hears of
// a change only when the knob is let go, or at once for each step of Left or Right while the slider
// has the focus.
class TrackBar : public Control {
public:
    TrackBar(Window& owner, Texture* knobTexture);

    bool onMouseMove(int x, int y, std::uint32_t keys) override;
    bool onLeftButtonUp(int x, int y, std::uint32_t keys) override;
    bool onLeftButtonDown(int x, int y, std::uint32_t keys) override;
    void render() override;
    void reset() override { m_grabbed = false; }
    // The whole track, where a press brings the knob.
    bool isUnder(int x, int y) const override;
    void onKeyDown(int virtualKey) override;
    bool canFocus() const override { return true; }
    bool keepsKey(int virtualKey) const override;
    // The whole track, not only the knob.
    FocusArea focusArea() const override;

    float value() const { return m_value; }
    void setValue(float value) { m_value = value; }
    void setRange(float minimum, float maximum);
    void setLength(float pixels) { m_length = pixels; }
    // How far Left or Right moves the value; a tenth of the range unless set.
    void setKeyStep(float step) { m_keyStep = step; }
    float minimum() const { return m_minimum; }
    float maximum() const { return m_maximum; }
    float length() const { return m_length; }
    bool isGrabbed() const { return m_grabbed; }
    float knobX() const;

private:
    void moveKnobTo(int x);

    float m_value = 5.0f;
    float m_minimum = 0.0f;
    float m_maximum = 10.0f;
    float m_length = 100.0f;
    bool m_grabbed = false;
    float m_keyStep = 0.0f;
};
