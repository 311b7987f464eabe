// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WindowMessage.h"

#include <array>
#include <cstdint>
#include <deque>

enum class ControllerButton { A, B, Y, Start, Left, Right, Up, Down };

// Turns a game controller's buttons and left stick into the key messages the
// screens already understand: the directions become the arrow keys, repeated
// while held, A is Enter, B Escape, Start and Y keys of their own. Several
// controllers share one state: a direction is held while any source holds it.
class ControllerInput {
public:
    // Stick positions run from -32768 to 32767. A direction engages beyond the
    // press threshold and lets go only below the release threshold, so a stick
    // resting near the edge does not chatter.
    static constexpr int kStickPress = 16000;
    static constexpr int kStickRelease = 10000;
    static constexpr std::uint32_t kRepeatDelay = 400;
    static constexpr std::uint32_t kRepeatInterval = 110;

    // now: milliseconds of any steady clock; repeats are timed from it.
    void button(ControllerButton which, bool down, std::uint32_t now,
                std::deque<WindowMessage>& out);
    // The left stick's horizontal and vertical axes (down is positive).
    void stickX(int value, std::uint32_t now, std::deque<WindowMessage>& out);
    void stickY(int value, std::uint32_t now, std::deque<WindowMessage>& out);
    // Key repeats of the direction held longest enough; called whenever the
    // event queue is empty.
    void repeatHeld(std::uint32_t now, std::deque<WindowMessage>& out);
    // A controller went away: every held button and direction is let go.
    void releaseAll(std::deque<WindowMessage>& out);

    bool isHeld(ControllerButton direction) const;

private:
    enum Source { Pad, Stick, SourceCount };
    static constexpr int kDirections = 4;

    void stickAxis(int value, ControllerButton negative, ControllerButton positive,
                   std::uint32_t now, std::deque<WindowMessage>& out);
    void hold(ControllerButton direction, Source source, bool down, std::uint32_t now,
              std::deque<WindowMessage>& out);

    std::array<std::array<bool, SourceCount>, kDirections> m_held{};
    std::array<bool, 4> m_buttons{};
    // The direction that repeats: the last one pressed.
    int m_repeating = -1;
    std::uint32_t m_nextRepeat = 0;
};
