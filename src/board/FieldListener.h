// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "board/Vec4.h"

// The sounds of the board and of the hand that plays on it.
enum class BoardSound { GlassBreaks, Pop, WaterDrop, Bonk, Bowl, Shot, Select, Unselect, TakeOff };

// What a sound still playing does when it is played again.
enum class SoundRestart { Always, UnlessPlaying };

// Told what happens on the board, in the order it happens: the board keeps
// its rules and leaves the sparks, texts and sounds to whoever shows it.
// Every event is ignored unless overridden, so a board nobody watches (a
// preview, a tool, a test) can be given a plain FieldListener.
class FieldListener {
public:
    virtual ~FieldListener() = default;

    virtual void playSound(BoardSound, SoundRestart) {}
    // Sparks flying out of a point in all directions (a bursting flower, a cleared cell).
    virtual void burst(const Vec4& /*position*/, int /*count*/) {}
    // One spark left behind where a blast ray, a colour-bomb dart or a shot passes.
    virtual void spark(float /*size*/, const Vec4& /*position*/, const Vec4& /*velocity*/) {}
    // Points won and notices, rising at the given velocity.
    virtual void floatingText(const std::string& /*text*/, const Vec4& /*position*/, float /*size*/,
                              const Vec4& /*velocity*/)
    {
    }
};
