// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

class KeyValueFile;

// Where a control's focus glow goes, in its window's coordinates.
struct FocusArea {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float radius = 0.0f;
};

class Texture;
class Window;

// Base of the clickable things on a window. Every event goes to every control
// of the window; each decides by its own state whether to act. The mouse
// operations answer whether the mouse is on the control or it took the event.
class Control {
public:
    Control(Window& owner, Texture* texture) : m_owner(owner), m_texture(texture) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual bool onMouseMove(int, int, std::uint32_t) { return false; }
    virtual bool onLeftButtonUp(int, int, std::uint32_t) { return false; }
    virtual bool onRightButtonUp(int, int, std::uint32_t) { return false; }
    virtual bool onLeftButtonDown(int, int, std::uint32_t) { return false; }
    virtual void onKeyDown(int) {}
    virtual void onChar(char32_t, std::uint16_t) {}
    virtual void reserved(int) {}
    virtual void update(float) {}
    virtual void render() {}
    // Back to the resting state; called on every activate of the owner.
    virtual void reset() {}
    // Whether a press at (x, y) is the control's rather than the window's.
    virtual bool isUnder(int x, int y) const { return contains(x, y); }

    // Keyboard focus. canFocus: whether the control can take it now. press:
    // what Space (and Enter while the focus is shown) does, as a click would.
    // keepsKey: a key the focused control uses itself instead of moving the
    // focus (a slider's Left and Right); the owner then hands it on as usual.
    virtual bool canFocus() const { return false; }
    virtual void press() {}
    virtual bool keepsKey(int) const { return false; }
    virtual FocusArea focusArea() const;
    void setFocused(bool focused) { m_focused = focused; }
    bool isFocused() const { return m_focused; }
    // Focused and the focus is being shown: draw the hover look.
    bool showsFocus() const;

    void setPosition(float x, float y, float z);
    // Reads name.x, name.y and name.z of a layout file (a missing key is 0).
    void loadPosition(const KeyValueFile& layout, const std::string& name);

    float x() const { return m_x; }
    float y() const { return m_y; }
    float z() const { return m_z; }
    float width() const { return m_width; }
    float height() const { return m_height; }
    Window& owner() const { return m_owner; }
    Texture* texture() const { return m_texture; }

protected:
    // The rectangle from (x, y) to (x + width, y + height), bounds truncated and inclusive.
    bool contains(int px, int py) const;
    // Frame `frame` of `frameCount` frames stacked in the texture, on the
    // control's rectangle; the higher texture row goes to the top edge.
    void drawFrame(int frame, int frameCount) const;
    static void playClick();

    Window& m_owner;
    Texture* m_texture;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_width = 0.0f;
    float m_height = 0.0f;

private:
    bool m_focused = false;
};
