// SPDX-License-Identifier: GPL-3.0-or-later
#include "EffectRecipe.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

double Envelope::at(double t) const
{
    t -= start;
    if (t < 0)
        return 0;
    if (t < attack)
        return gain * t / attack;
    t -= attack;
    if (t < hold)
        return gain;
    t -= hold;
    return gain * std::exp(-6.9 * t / decay);
}

namespace {

Waveform waveNamed(const SourceText& text, const SourceLine& line, const std::string& name)
{
    if (name == "sine")
        return Waveform::Sine;
    if (name == "triangle")
        return Waveform::Triangle;
    if (name == "square")
        return Waveform::Square;
    if (name == "saw")
        return Waveform::Saw;
    text.fail(line, "unknown wave \"" + name + "\" (sine, triangle, square, saw)");
}

FilterKind filterNamed(const SourceText& text, const SourceLine& line, const std::string& name)
{
    if (name == "lowpass")
        return FilterKind::LowPass;
    if (name == "highpass")
        return FilterKind::HighPass;
    if (name == "bandpass")
        return FilterKind::BandPass;
    text.fail(line, "unknown filter \"" + name + "\" (lowpass, highpass, bandpass)");
}

LayerKind layerNamed(const SourceText& text, const SourceLine& line, const std::string& name)
{
    if (name == "tone")
        return LayerKind::Tone;
    if (name == "noise")
        return LayerKind::Noise;
    if (name == "shards")
        return LayerKind::Shards;
    text.fail(line, "unknown layer \"" + name + "\" (tone, noise, shards)");
}

EffectLayer parseLayer(const SourceText& text, const SourceLine& line)
{
    if (line.words.size() < 2)
        text.fail(line, "a layer needs a kind: tone, noise or shards");
    EffectLayer layer;
    layer.kind = layerNamed(text, line, line.words[1]);
    const Options o(text, line, 2);
    layer.envelope.start = o.number("start", 0);
    layer.envelope.attack = std::max(o.number("attack", 0.002), 1e-4);
    layer.envelope.hold = o.number("hold", 0);
    layer.envelope.decay = std::max(o.number("decay", 0.2), 1e-3);
    layer.envelope.gain = o.number("gain", 1);
    layer.wave = waveNamed(text, line, o.word("wave", "sine"));
    layer.freq = o.number("freq", 440);
    layer.freqTo = o.number("to", 0);
    layer.sweepTime = o.number("sweep", 0);
    layer.fmRatio = o.number("fm", 0);
    layer.fmIndex = o.number("index", 0);
    layer.vibratoRate = o.number("vibrato", 0);
    layer.vibratoDepth = o.number("depth", 0);
    layer.filter = filterNamed(text, line, o.word("filter", "lowpass"));
    layer.q = o.number("q", 0.7);
    layer.count = static_cast<int>(std::clamp(o.number("count", 12), 0.0, 200.0));
    layer.spread = o.number("spread", 0.3);
    o.rejectUnused();
    if (layer.freq <= 0)
        text.fail(line, "freq must be above 0");
    return layer;
}

// Seconds from the layer's start to the end of its sweep.
double sweepSpan(const EffectLayer& layer, double length)
{
    if (layer.sweepTime > 0)
        return layer.sweepTime;
    const Envelope& e = layer.envelope;
    return std::min(length - e.start, e.attack + e.hold + e.decay);
}

double currentFreq(const EffectLayer& layer, double t, double span)
{
    if (layer.freqTo <= 0)
        return layer.freq;
    const double local = std::clamp((t - layer.envelope.start) / span, 0.0, 1.0);
    return sweep(layer.freq, layer.freqTo, local);
}

void addTone(const EffectLayer& layer, double length, int rate, std::vector<float>& out)
{
    const double span = sweepSpan(layer, length);
    double phase = 0, modPhase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double f = currentFreq(layer, t, span);
        if (layer.vibratoRate > 0)
            f *= std::pow(2.0, layer.vibratoDepth / 12 * std::sin(2 * kPi * layer.vibratoRate * t));
        const double mod = layer.fmIndex * std::sin(2 * kPi * modPhase);
        out[i] += static_cast<float>(layer.envelope.at(t) *
                                     waveformAt(layer.wave, phase + mod / (2 * kPi)));
        phase += f / rate;
        modPhase += f * layer.fmRatio / rate;
    }
}

void addNoise(const EffectLayer& layer, double length, int rate, Rng& rng, std::vector<float>& out)
{
    const double span = sweepSpan(layer, length);
    Biquad filter;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        if (i % 16 == 0)
            filter.setup(layer.filter, currentFreq(layer, t, span), layer.q, rate);
        out[i] += static_cast<float>(layer.envelope.at(t) * filter.process(rng.bipolar()));
    }
}

// Glass fragments: short bright pings at random pitches and moments.
void addShards(const EffectLayer& layer, double length, int rate, Rng& rng, std::vector<float>& out)
{
    for (int n = 0; n < layer.count; ++n) {
        EffectLayer ping;
        ping.envelope = layer.envelope;
        ping.envelope.start = layer.envelope.start + rng.range(0, layer.spread);
        ping.envelope.gain = layer.envelope.gain * rng.range(0.3, 1.0);
        ping.envelope.decay = layer.envelope.decay * rng.range(0.4, 1.2);
        ping.freq = rng.range(layer.freq, layer.freqTo > 0 ? layer.freqTo : layer.freq * 2);
        ping.fmRatio = 1.41;
        ping.fmIndex = rng.range(0.2, 1.5);
        addTone(ping, length, rate, out);
    }
}

} // namespace

EffectRecipe EffectRecipe::parse(const SourceText& text)
{
    EffectRecipe recipe;
    for (const SourceLine& line : text.lines()) {
        const std::string& key = line.words[0];
        bool ok = line.words.size() == 2;
        const double value = ok ? parseNumber(line.words[1], ok) : 0;
        if (key == "layer") {
            recipe.layers.push_back(parseLayer(text, line));
            continue;
        }
        if (!ok)
            text.fail(line, "\"" + key + "\" needs one number");
        if (key == "length" && value > 0 && value <= 5)
            recipe.length = value;
        else if (key == "peak" && value > 0 && value <= 1)
            recipe.peak = value;
        else if (key == "seed")
            recipe.seed = static_cast<unsigned>(value);
        else
            text.fail(line, "unknown or out-of-range setting \"" + key + "\"");
    }
    if (recipe.layers.empty())
        throw SourceError("a sound needs at least one layer");
    return recipe;
}

std::vector<float> renderEffect(const EffectRecipe& recipe, int sampleRate)
{
    std::vector<float> out(static_cast<size_t>(recipe.length * sampleRate), 0.0f);
    Rng rng(recipe.seed);
    for (const EffectLayer& layer : recipe.layers) {
        switch (layer.kind) {
        case LayerKind::Tone:
            addTone(layer, recipe.length, sampleRate, out);
            break;
        case LayerKind::Noise:
            addNoise(layer, recipe.length, sampleRate, rng, out);
            break;
        case LayerKind::Shards:
            addShards(layer, recipe.length, sampleRate, rng, out);
            break;
        }
    }
    removeDcAndFadeEnds(out, sampleRate / 1000, sampleRate / 100);
    normalisePeak(out, recipe.peak);
    return out;
}

} // namespace soundgen
