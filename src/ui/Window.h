// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/KeyboardFocus.h"

#include <cstdint>
#include <vector>

class Control;

// Base of every screen and dialog. The shell calls the virtual operations;
// the base forwards input, update and render to the controls in the order
// they were added, and drags the program window for draggable screens.
// The control list does not own the controls: the concrete window does.
class Window {
public:
    Window() = default;
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // x, y: mouse coordinates as the window takes them; keys: the key-state word.
    virtual void onMouseMove(int x, int y, std::uint32_t keys);
    virtual void onLeftButtonUp(int x, int y, std::uint32_t keys);
    virtual void onRightButtonUp(int x, int y, std::uint32_t keys);
    virtual void onLeftButtonDown(int x, int y, std::uint32_t keys);
    virtual void onKeyDown(int virtualKey);
    // Every key down from the shell. On menus and dialogs the focus keys act
    // first (arrows and Tab move the focus, Space presses the focused control,
    // Enter and the controller's Start do while the focus is shown); the rest
    // goes to onKeyDown.
    void keyDown(int virtualKey);
    // A held key's auto-repeat. An arrow's repeat is a key down like any
    // other (focus and cursors keep moving); any other key's repeat reaches
    // only the controls (a text field's caret), so a screen acts once per press.
    void onKeyRepeat(int virtualKey);
    virtual void onChar(char32_t charCode, std::uint16_t repeatCount);
    // A control of this window reports that it was used.
    virtual void onControl(Control& control);
    // dt: frame time in milliseconds. Called only for the top window.
    virtual void update(float dt);
    virtual void render();
    // Whether render() draws from the window's state alone, with no other
    // effect: the frame loop may then run it in feedback mode and again for
    // each changed region, and draw only what changed since the last frame.
    virtual bool rendersStateOnly() const { return false; }
    virtual void reserved(int) {}
    // The window has become the front screen or the top dialog, or a dialog
    // has opened above it: controls go back to rest.
    virtual void activate();
    virtual void onRightButtonDown(int, int, std::uint32_t) {}
    // A dialog above this window was closed; the receiver deletes or keeps it.
    virtual void onDialogClosed(Window&, int) {}
    // The screen above this one was closed; this is the front screen again.
    virtual void onScreenClosed(Window&) {}
    // The player asked to end the program (Alt+F4).
    virtual void onCloseRequest() {}

    void addControl(Control& control) { m_controls.push_back(&control); }
    // The control with the keyboard focus, or null on windows without it.
    Control* focusedControl();
    void setFocus(Control& control) { m_focus.moveTo(&control); }
    // The keyboard or the controller is in use: the focus glow shows on every window.
    static void showFocus() { KeyboardFocus::setShown(true); }
    void setResult(int code) { m_result = code; }
    int result() const { return m_result; }
    const std::vector<Control*>& controls() const { return m_controls; }
    bool isDragging() const { return m_dragging; }
    bool isDraggable() const { return m_draggable; }
    void setDraggable(bool draggable) { m_draggable = draggable; }
    // Whether a press at (x, y), as the mouse operations take them, moves the
    // program window: the background of a draggable window, under no control.
    // The window system asks it before the press reaches the game.
    virtual bool isDragArea(int x, int y) const;

    // A client coordinate in logical units, with the shell's client and logical size.
    static int toLogicalX(int x);
    static int toLogicalY(int y);

protected:
    // Menus and dialogs; the play screen keeps all keys to itself.
    void enableKeyboardFocus() { m_focusEnabled = true; }
    // Only where the reading order by position is wrong.
    void setFocusOrder(std::vector<Control*> order) { m_focus.setOrder(std::move(order)); }
    void setInitialFocus(Control& control) { m_focus.setInitial(control); }
    // Whether a focus key was used up by the focus.
    virtual bool onFocusKey(int virtualKey);

    bool m_draggable = false;
    bool m_dragging = false;

private:
    void dragWindow();
    bool cursorInsideWindow() const;
    void followMouse(Control& control);

    std::vector<Control*> m_controls;
    int m_result = 0;
    int m_anchorX = 0;
    int m_anchorY = 0;
    bool m_focusEnabled = false;
    KeyboardFocus m_focus;
};
