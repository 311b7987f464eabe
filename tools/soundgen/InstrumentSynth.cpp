// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstrumentSynth.h"

#include "Dsp.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace soundgen {

namespace {

// Samples run at twice the XM base rate: C-4 of a sample with relative note 12 plays at this rate.
constexpr double kRate = 16726.0;
constexpr double kDrumRate = 33452.0;
constexpr double kC4 = 261.6255653;

struct Partial {
    double ratio; // multiple of the fundamental (an integer for partials that reach the loop)
    double level;
    double decay;  // seconds to fall by 1/e before the loop starts; 0: steady
    bool fadesOut; // gone by the loop start (inharmonic attack partials)
    double phase;
};

struct PitchedShape {
    std::vector<Partial> partials;
    double attackSeconds = 0.2; // where the loop begins
    double loopSeconds = 0.05;
    double noise = 0, noiseDecay = 0.01; // breath or pick noise at the start
    int detuneVoices = 1;
};

PitchedShape shapeFor(const InstrumentRecipe& recipe, Rng& rng)
{
    PitchedShape s;
    const double b = std::clamp(recipe.bright, 0.0, 1.0);
    auto add = [&](double ratio, double level, double decay, bool fades = false) {
        s.partials.push_back({ratio, level, decay, fades, rng.uniform()});
    };
    switch (recipe.kind) {
    case InstrumentKind::Pluck:
        for (int k = 1; k <= 14; ++k)
            add(k, std::pow(k, -(1.6 - b)) * (k % 2 ? 1.0 : 0.7),
                recipe.decay / (1 + 0.5 * (k - 1)));
        s.attackSeconds = 0.3, s.noise = 0.15, s.noiseDecay = 0.006;
        break;
    case InstrumentKind::Keys:
        add(1, 1, 0), add(2, 0.25 * b, recipe.decay), add(3, 0.08, recipe.decay * 0.5);
        add(7.03, 0.35 * b, 0.05, true), add(14.1, 0.1 * b, 0.03, true);
        s.attackSeconds = 0.25;
        break;
    case InstrumentKind::Pad:
        for (int k = 1; k <= 4 + static_cast<int>(10 * b); ++k)
            add(k, 1.0 / k, 0);
        s.attackSeconds = 0, s.loopSeconds = 0.5, s.detuneVoices = 3;
        break;
    case InstrumentKind::Bass:
        add(1, 1, 0), add(2, 0.45, 0), add(3, 0.35 * b, recipe.decay),
            add(4, 0.2 * b, recipe.decay * 0.6);
        add(5, 0.12 * b, recipe.decay * 0.4);
        s.attackSeconds = 0.15, s.noise = 0.05, s.noiseDecay = 0.004;
        break;
    case InstrumentKind::Lead:
        add(1, 1, 0), add(2, 0.12 + 0.2 * b, 0), add(3, 0.15 * b, 0), add(4, 0.05 * b, 0);
        s.attackSeconds = 0.08, s.noise = 0.12, s.noiseDecay = 0.03;
        break;
    case InstrumentKind::Bell:
        add(1, 1, 0), add(2, 0.3, 0), add(3, 0.08 * b, 0);
        add(2.76, 0.6, recipe.decay * 0.4, true), add(5.4, 0.35 * b, recipe.decay * 0.2, true);
        add(8.93, 0.2 * b, recipe.decay * 0.1, true);
        s.attackSeconds = 0.45;
        break;
    default:
        break;
    }
    return s;
}

std::vector<float> renderPitched(const InstrumentRecipe& recipe, int& loopStart, int& loopLength)
{
    Rng rng(recipe.seed);
    const PitchedShape shape = shapeFor(recipe, rng);
    const double f = kC4 * std::pow(2.0, recipe.baseOctave - 4);
    // the loop holds a whole number of cycles; the fundamental is nudged to fit it exactly
    const int cycles = std::max(1, static_cast<int>(std::lround(shape.loopSeconds * f)));
    loopLength = static_cast<int>(std::lround(cycles * kRate / f));
    loopStart = static_cast<int>(std::lround(shape.attackSeconds * kRate));
    const double fundamental = cycles * kRate / loopLength;
    std::vector<float> out(loopStart + loopLength, 0.0f);
    for (int voice = 0; voice < shape.detuneVoices; ++voice) {
        // detuned voices run one cycle more or less over the loop, which still closes it
        const double vf = (cycles + (voice == 0 ? 0 : voice == 1 ? 1 : -1)) * kRate / loopLength;
        for (const Partial& p : shape.partials) {
            const double freq = (p.fadesOut ? fundamental : vf) * p.ratio;
            if (freq > kRate * 0.45)
                continue;
            for (size_t i = 0; i < out.size(); ++i) {
                const double t = std::min<double>(i, loopStart) / kRate;
                double level = p.level * (p.decay > 0 ? std::exp(-t / p.decay) : 1.0);
                if (p.fadesOut)
                    level *= loopStart > 0 ? std::pow(1.0 - t * kRate / loopStart, 2) : 0.0;
                out[i] +=
                    static_cast<float>(level * std::sin(2 * kPi * (freq * i / kRate + p.phase)));
            }
        }
    }
    // the noise is gone by the loop start, so the loop itself stays strictly periodic
    for (int i = 0; i < loopStart && shape.noise > 0; ++i) {
        const double fade = std::pow(1.0 - static_cast<double>(i) / loopStart, 2);
        out[i] += static_cast<float>(shape.noise * fade * rng.bipolar() *
                                     std::exp(-(i / kRate) / shape.noiseDecay));
    }
    return out;
}

// Noise through a filter whose cutoff may move, under an exponential decay.
void addFilteredNoise(std::vector<float>& out, Rng& rng, FilterKind kind, double cutoff, double q,
                      double level, double decay, double start = 0)
{
    Biquad filter;
    filter.setup(kind, cutoff, q, kDrumRate);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = i / kDrumRate - start;
        const double value = filter.process(rng.bipolar());
        if (t >= 0)
            out[i] += static_cast<float>(level * value * std::exp(-t / decay));
    }
}

void addSweptSine(std::vector<float>& out, double from, double to, double sweepTime, double level,
                  double decay)
{
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = i / kDrumRate;
        out[i] += static_cast<float>(level * std::sin(2 * kPi * phase) * std::exp(-t / decay));
        phase += sweep(from, to, std::min(1.0, t / sweepTime)) / kDrumRate;
    }
}

std::vector<float> renderDrum(const InstrumentRecipe& recipe)
{
    Rng rng(recipe.seed);
    auto tuned = [&](double own) { return recipe.pitch > 0 ? recipe.pitch : own; };
    std::vector<float> out(static_cast<size_t>(std::max(0.03, recipe.decay) * kDrumRate), 0.0f);
    switch (recipe.kind) {
    case InstrumentKind::Kick:
        addSweptSine(out, tuned(150) * 2.2, tuned(150) * 0.35, 0.09, 1.0, recipe.decay * 0.35);
        addFilteredNoise(out, rng, FilterKind::LowPass, 3000, 0.7, 0.3, 0.004);
        break;
    case InstrumentKind::Snare:
        addSweptSine(out, tuned(190) * 1.4, tuned(190), 0.03, 0.6, 0.05);
        addFilteredNoise(out, rng, FilterKind::HighPass, 1800, 0.7, 0.8, recipe.decay * 0.3);
        break;
    case InstrumentKind::Hat:
    case InstrumentKind::OpenHat:
        addFilteredNoise(out, rng, FilterKind::HighPass, tuned(7000), 0.9, 1.0, recipe.decay * 0.3);
        addFilteredNoise(out, rng, FilterKind::BandPass, tuned(7000) * 1.4, 3, 0.4,
                         recipe.decay * 0.2);
        break;
    case InstrumentKind::Clap:
        for (int burst = 0; burst < 3; ++burst)
            addFilteredNoise(out, rng, FilterKind::BandPass, tuned(1300), 1.5, 0.8, 0.006,
                             burst * 0.011);
        addFilteredNoise(out, rng, FilterKind::BandPass, tuned(1300), 1.2, 0.6, recipe.decay * 0.3,
                         0.033);
        break;
    case InstrumentKind::Shaker:
        addFilteredNoise(out, rng, FilterKind::BandPass, tuned(6000), 1.5, 1.0,
                         recipe.decay * 0.25);
        break;
    case InstrumentKind::Tom:
        addSweptSine(out, tuned(130) * 1.5, tuned(130), 0.06, 1.0, recipe.decay * 0.35);
        addFilteredNoise(out, rng, FilterKind::LowPass, 2000, 0.7, 0.15, 0.01);
        break;
    case InstrumentKind::Rim:
        addSweptSine(out, tuned(820), tuned(800), 0.01, 0.8, 0.012);
        addFilteredNoise(out, rng, FilterKind::BandPass, tuned(820) * 2.5, 2, 0.5, 0.008);
        break;
    default:
        break;
    }
    return out;
}

std::vector<int16_t> toPcm16(std::vector<float> samples, size_t fadeFrom)
{
    normalisePeak(samples, 0.9);
    // a drum's tail fades to silence so that its end makes no click
    const size_t n = samples.size();
    for (size_t i = fadeFrom; i < n; ++i)
        samples[i] *= static_cast<float>(n - 1 - i) / static_cast<float>(n - fadeFrom);
    std::vector<int16_t> pcm(n);
    for (size_t i = 0; i < n; ++i)
        pcm[i] = static_cast<int16_t>(std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 32767.0f));
    return pcm;
}

} // namespace

bool instrumentKindNamed(const std::string& name, InstrumentKind& kind)
{
    static const std::map<std::string, InstrumentKind> kinds = {
        {"pluck", InstrumentKind::Pluck}, {"keys", InstrumentKind::Keys},
        {"pad", InstrumentKind::Pad},     {"bass", InstrumentKind::Bass},
        {"lead", InstrumentKind::Lead},   {"bell", InstrumentKind::Bell},
        {"kick", InstrumentKind::Kick},   {"snare", InstrumentKind::Snare},
        {"hat", InstrumentKind::Hat},     {"openhat", InstrumentKind::OpenHat},
        {"clap", InstrumentKind::Clap},   {"shaker", InstrumentKind::Shaker},
        {"tom", InstrumentKind::Tom},     {"rim", InstrumentKind::Rim}};
    auto it = kinds.find(name);
    if (it == kinds.end())
        return false;
    kind = it->second;
    return true;
}

bool isDrum(InstrumentKind kind)
{
    return kind >= InstrumentKind::Kick;
}

XmSample synthesizeSample(const InstrumentRecipe& recipe)
{
    XmSample sample;
    if (isDrum(recipe.kind)) {
        const auto raw = renderDrum(recipe);
        sample.data = toPcm16(raw, raw.size() * 3 / 4);
        sample.relativeNote = 24; // C-4 plays the drum at its own rate
        return sample;
    }
    int loopStart = 0, loopLength = 0;
    const auto raw = renderPitched(recipe, loopStart, loopLength);
    sample.data = toPcm16(raw, raw.size());
    sample.loop = XmLoop::Forward;
    sample.loopStart = static_cast<uint32_t>(loopStart);
    sample.loopLength = static_cast<uint32_t>(loopLength);
    sample.relativeNote = static_cast<int8_t>(60 - 12 * recipe.baseOctave);
    return sample;
}

} // namespace soundgen
