// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Dsp.h"
#include "SourceText.h"

#include <string>
#include <vector>

namespace soundgen {

enum class LayerKind { Tone, Noise, Shards };

// Amplitude over time: silent until start, linear rise, hold, then an exponential fall
// that reaches -60 dB after decay seconds.
struct Envelope {
    double start = 0;
    double attack = 0.002;
    double hold = 0;
    double decay = 0.2;
    double gain = 1;

    double at(double t) const;
};

struct EffectLayer {
    LayerKind kind = LayerKind::Tone;
    Envelope envelope;
    Waveform wave = Waveform::Sine;
    double freq = 440, freqTo = 0;   // tone pitch (freqTo 0: steady), or filter cutoff for noise
    double sweepTime = 0;            // seconds the sweep takes; 0: over the whole envelope
    double fmRatio = 0, fmIndex = 0; // frequency modulation for metallic tones
    double vibratoRate = 0, vibratoDepth = 0; // depth in semitones
    FilterKind filter = FilterKind::LowPass;
    double q = 0.7;
    int count = 0;       // shards: how many glass fragments
    double spread = 0.3; // shards: the time window they fall in
};

// One sound effect described by a small text recipe (see assets/sound/*.snd).
struct EffectRecipe {
    double length = 0.5;
    double peak = 0.5; // about -6 dBFS: room for the music and a few effects at once
    unsigned seed = 1;
    std::vector<EffectLayer> layers;

    static EffectRecipe parse(const SourceText& text);
};

// Renders the recipe at the given rate, peak-normalised with silent ends.
std::vector<float> renderEffect(const EffectRecipe& recipe, int sampleRate);

} // namespace soundgen
