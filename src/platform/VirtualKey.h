// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Key codes carried by key messages. The screens compare against these values
// (Escape closes, Enter minimises, the edit box edits with the arrows).
namespace VirtualKey {
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Alt = 18;
constexpr int Pause = 19;
constexpr int CapsLock = 20;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Digit0 = 48; // '0' … '9' are 48 … 57
constexpr int A = 65;      // 'A' … 'Z' are 65 … 90
constexpr int C = 67;
constexpr int V = 86;
constexpr int X = 88;
constexpr int Numpad0 = 96; // … 105
constexpr int Multiply = 106;
constexpr int Add = 107;
constexpr int Subtract = 109;
constexpr int Decimal = 110;
constexpr int Divide = 111;
constexpr int F1 = 112; // … F12 = 123
constexpr int F4 = 115;
constexpr int F12 = 123;
constexpr int NumLock = 144;
constexpr int ScrollLock = 145;
constexpr int Semicolon = 186;
constexpr int Equals = 187;
constexpr int Comma = 188;
constexpr int Minus = 189;
constexpr int Period = 190;
constexpr int Slash = 191;
constexpr int Grave = 192;
// A game controller's Y and Start buttons; its other buttons and sticks
// arrive as Enter, Escape and the arrows.
constexpr int GamepadY = 0xC6;
constexpr int GamepadMenu = 0xCF;
constexpr int LeftBracket = 219;
constexpr int Backslash = 220;
constexpr int RightBracket = 221;
constexpr int Apostrophe = 222;
constexpr int Count = 256;

// The keys that step a focus or a cursor: their auto-repeat reaches the
// screens, while a held Enter or Escape acts only once.
constexpr bool isArrow(int virtualKey)
{
    return virtualKey == Left || virtualKey == Up || virtualKey == Right || virtualKey == Down;
}
} // namespace VirtualKey

// Bits of the key-state word that comes with every mouse message.
namespace MouseKeys {
constexpr std::uint32_t LeftButton = 0x01;
constexpr std::uint32_t RightButton = 0x02;
constexpr std::uint32_t Shift = 0x04;
constexpr std::uint32_t Control = 0x08;
constexpr std::uint32_t MiddleButton = 0x10;
} // namespace MouseKeys
