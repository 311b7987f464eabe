// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "XmModule.h"

#include <string>

namespace soundgen {

enum class InstrumentKind {
    Pluck,
    Keys,
    Pad,
    Bass,
    Lead,
    Bell,
    Kick,
    Snare,
    Hat,
    OpenHat,
    Clap,
    Shaker,
    Tom,
    Rim
};

// How one instrument of a score sounds; the envelopes and settings go straight into the module.
struct InstrumentRecipe {
    std::string name;
    InstrumentKind kind = InstrumentKind::Pluck;
    int baseOctave = 4;  // the octave whose C the sample holds
    double bright = 0.5; // 0 dull .. 1 bright
    double decay = 0.6;  // seconds, for the plucked and struck kinds
    double pitch = 0;    // drums: tuning in Hz, 0 for the kind's own
    unsigned seed = 1;
};

bool instrumentKindNamed(const std::string& name, InstrumentKind& kind);
bool isDrum(InstrumentKind kind);

// Synthesizes the sample: pitched kinds hold C of the base octave and loop a stretch that
// is exactly periodic, so a held note neither clicks nor drifts out of tune.
XmSample synthesizeSample(const InstrumentRecipe& recipe);

} // namespace soundgen
