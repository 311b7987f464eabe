// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A bonus effect running over the board (blast, colour bomb).
class Effect {
public:
    virtual ~Effect() = default;
    // Called once per board update; returns true when the effect has finished.
    virtual bool update(float dt) = 0;
};
