// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

enum class MessageType {
    MouseMove,
    LeftButtonDown,
    LeftButtonUp,
    RightButtonDown,
    RightButtonUp,
    KeyDown,
    KeyUp,
    Char,
    FocusGained,
    FocusLost,
    Minimized,
    Restored,
    SizeChanged,
    // Part of the window must be shown again.
    Exposed,
    CloseRequest,
};

// One input or window event, already in the terms the screens use: client
// coordinates, the mouse key-state word, virtual-key codes and characters.
struct WindowMessage {
    MessageType type = MessageType::MouseMove;
    int x = 0;
    int y = 0;
    std::uint32_t keys = 0;
    int virtualKey = 0;
    char32_t charCode = 0; // a Unicode code point
    std::uint16_t repeatCount = 1;
    // A key down the keyboard's auto-repeat made while the key stays held.
    bool repeat = false;
    // A key a game controller's button or stick stands for.
    bool fromController = false;
    // A close request the game posted itself, as opposed to one from the user.
    bool fromProgram = false;
};
