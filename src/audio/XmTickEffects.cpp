// SPDX-License-Identifier: GPL-3.0-or-later
// The tick effects of the sequencer: what runs on every tick of a row, and the
// envelopes and auto-vibrato that run on every tick of a note.
#include "audio/XmSequencer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// A slide's parameter: up by its high nibble when that is set, else down by
// its low one, within 0 … most.
void slide(int& value, int param, int most)
{
    const int up = param >> 4;
    const int down = param & 15;
    if (up > 0)
        value = std::min(value + up, most);
    else if (down > 0)
        value = std::max(value - down, 0);
}

int vibratoValue(int waveform, int position)
{
    switch (waveform & 3) {
    case 0:
        return static_cast<int>(std::fabs(std::sin(position * std::numbers::pi / 32)) * 256);
    case 1: {
        const int ramp = (position & 31) * 8;
        return position < 0 ? 255 - ramp : ramp;
    }
    default:
        return 255;
    }
}

int tremoloValue(int waveform, int position)
{
    return vibratoValue((waveform & 3) == 3 ? 0 : waveform, position);
}

void advanceWavePosition(int& position, int speed)
{
    position += speed;
    if (position > 31) {
        position -= 64;
    }
}

int autoVibratoValue(int type, int position)
{
    switch (type & 3) {
    case 0:
        return static_cast<int>(std::sin(position * std::numbers::pi / 128) * 64);
    case 1:
        return position < 128 ? 64 : -64;
    case 2:
        return (128 - ((position + 128) % 256)) >> 1;
    default:
        return (128 - ((384 - position) % 256)) >> 1;
    }
}

void stepEnvelope(const XmEnvelope& envelope, EnvelopeState& state, bool keyOff)
{
    if (!envelope.on || state.point >= envelope.points) {
        return;
    }
    if (state.tick >= envelope.position[state.point]) {
        if (envelope.loopOn && state.point == envelope.loopEnd) {
            state.point = envelope.loopStart;
            state.tick = envelope.position[state.point];
        }
        state.value = envelope.value[state.point] << 16;
        const int last = envelope.points - 1;
        if (state.point == last ||
            (envelope.sustainOn && state.point == envelope.sustain && !keyOff)) {
            return;
        }
        const int span = envelope.position[state.point + 1] - envelope.position[state.point];
        const int rise = envelope.value[state.point + 1] - envelope.value[state.point];
        state.slope = span > 0 ? rise * 65536 / span : 0;
        ++state.point;
    } else {
        state.value += state.slope;
    }
    ++state.tick;
}

} // namespace

void XmSequencer::tickEffect(ChannelState& channel, int effect, int param)
{
    switch (effect) {
    case 0:
        if (param)
            arpeggio(channel, param);
        break;
    case 1:
        portaUp(channel, 4 * channel.portaUpMemory);
        break;
    case 2:
        portaDown(channel, 4 * channel.portaDownMemory);
        break;
    case 3:
        tonePorta(channel);
        break;
    case 4:
        vibrato(channel);
        break;
    case 5:
        tonePorta(channel);
        volumeSlide(channel, channel.volumeSlideMemory);
        break;
    case 6:
        vibrato(channel);
        volumeSlide(channel, channel.volumeSlideMemory);
        break;
    case 7:
        tremolo(channel);
        break;
    case 10:
        volumeSlide(channel, channel.volumeSlideMemory);
        break;
    case 14:
        tickExtended(channel, param >> 4, param & 15);
        break;
    case 17:
        globalVolumeSlide();
        break;
    case 25:
        panningSlide(channel);
        break;
    case 27:
        multiRetrig(channel);
        break;
    case 29:
        tremor(channel);
        break;
    default:
        break;
    }
}

void XmSequencer::tickExtended(ChannelState& channel, int sub, int y)
{
    const int tick = m_module.state.tick;
    if (sub == 9 && y != 0 && tick % y == 0) {
        restartSample(channel);
    } else if (sub == 12 && tick == y) {
        channel.volume = 0;
    } else if (sub == 13 && tick == y && channel.notePending) {
        noteDelayTrigger(channel);
    }
}

void XmSequencer::arpeggio(ChannelState& channel, int param)
{
    const int step = m_module.state.tick % 3;
    const int semitones = step == 1 ? param >> 4 : step == 2 ? param & 15 : 0;
    if (semitones == 0 || channel.sample == nullptr) {
        return;
    }
    if (m_module.table == FrequencyTable::Linear) {
        channel.periodDelta = 64 * semitones;
        return;
    }
    // Amiga periods fall as the pitch rises: the delta is the period difference.
    const XmSample& sample = *channel.sample;
    const int base = channel.note + sample.relativeNote - 1;
    channel.periodDelta = notePeriod(m_module.table, base + semitones, sample.finetune) -
                          notePeriod(m_module.table, base, sample.finetune);
}

void XmSequencer::portaUp(ChannelState& channel, int amount)
{
    channel.period = std::max(channel.period - amount, kMinPeriod);
}

void XmSequencer::portaDown(ChannelState& channel, int amount)
{
    channel.period += amount;
}

void XmSequencer::tonePorta(ChannelState& channel)
{
    const int step = 4 * channel.portaSpeed;
    if (channel.period < channel.targetPeriod) {
        channel.period = std::min(channel.period + step, channel.targetPeriod);
    } else if (channel.period > channel.targetPeriod) {
        channel.period = std::max(channel.period - step, channel.targetPeriod);
    }
}

void XmSequencer::vibrato(ChannelState& channel)
{
    const int value = vibratoValue(channel.vibratoWaveform, channel.vibratoPosition);
    const int delta = ((channel.vibratoDepth * value) >> 7) * 4;
    channel.periodDelta += channel.vibratoPosition < 0 ? delta : -delta;
    advanceWavePosition(channel.vibratoPosition, channel.vibratoSpeed);
}

void XmSequencer::tremolo(ChannelState& channel)
{
    const int value = tremoloValue(channel.tremoloWaveform, channel.tremoloPosition);
    int delta = (value * channel.tremoloDepth) >> 6;
    if (channel.tremoloPosition < 0) {
        delta = -delta;
    }
    channel.volumeDelta = std::clamp(channel.volume + delta, 0, 64) - channel.volume;
    advanceWavePosition(channel.tremoloPosition, channel.tremoloSpeed);
}

void XmSequencer::volumeSlide(ChannelState& channel, int param)
{
    slide(channel.volume, param, 64);
}

void XmSequencer::globalVolumeSlide()
{
    PlaybackState& s = m_module.state;
    slide(s.globalVolume, s.globalSlideMemory, 64);
}

void XmSequencer::panningSlide(ChannelState& channel)
{
    slide(channel.panning, channel.panningSlideMemory, 255);
}

void XmSequencer::multiRetrig(ChannelState& channel)
{
    const int x = channel.multiRetrigMemory >> 4;
    const int y = channel.multiRetrigMemory & 15;
    if (y == 0 || m_module.state.tick % y != 0) {
        return;
    }
    static constexpr int kSteps[16] = {0, -1, -2, -4, -8, -16, 0, 0, 0, 1, 2, 4, 8, 16, 0, 0};
    int& v = channel.volume;
    if (x == 6) {
        v = v * 2 / 3;
    } else if (x == 7) {
        v /= 2;
    } else if (x == 14) {
        v = v * 3 / 2;
    } else if (x == 15) {
        v *= 2;
    } else {
        v += kSteps[x];
    }
    v = clampVolume(v);
    restartSample(channel);
}

void XmSequencer::tremor(ChannelState& channel)
{
    if (channel.tremorCounter >= channel.tremorOn) {
        channel.volumeDelta = -channel.volume;
    }
    if (++channel.tremorCounter >= channel.tremorOn + channel.tremorOff) {
        channel.tremorCounter = 0;
    }
}

void XmSequencer::setEnvelopePosition(ChannelState& channel, int position)
{
    if (channel.instr == nullptr || !channel.instr->volumeEnvelope.on) {
        return;
    }
    const XmEnvelope& envelope = channel.instr->volumeEnvelope;
    const int last = envelope.points - 1;
    int point = 0;
    while (point < last && envelope.position[point] < position) {
        ++point;
    }
    EnvelopeState& state = channel.volumeEnvelope;
    state.point = point;
    state.tick = position;
    state.slope = 0;
    if (point == 0 || envelope.position[point] <= position) {
        state.value = envelope.value[point] << 16;
        return;
    }
    const int span = envelope.position[point] - envelope.position[point - 1];
    const int rise = envelope.value[point] - envelope.value[point - 1];
    state.slope = span > 0 ? rise * 65536 / span : 0;
    state.value =
        (envelope.value[point - 1] << 16) + state.slope * (position - envelope.position[point - 1]);
}

void XmSequencer::tickAlways(ChannelState& channel)
{
    if (channel.keyOff && channel.instr != nullptr) {
        channel.fadeoutVolume = std::max(channel.fadeoutVolume - channel.instr->fadeout, 0);
    }
    if (channel.instr != nullptr) {
        stepEnvelopes(channel);
        autoVibrato(channel);
    }
    channel.flags |= ChannelFlag::Volume | ChannelFlag::Panning | ChannelFlag::Frequency;
}

void XmSequencer::stepEnvelopes(ChannelState& channel)
{
    const XmInstrument& instrument = *channel.instr;
    if (instrument.volumeEnvelope.on) {
        stepEnvelope(instrument.volumeEnvelope, channel.volumeEnvelope, channel.keyOff);
        channel.envelopeVolume = channel.volumeEnvelope.value >> 16;
    }
    if (instrument.panningEnvelope.on) {
        stepEnvelope(instrument.panningEnvelope, channel.panningEnvelope, channel.keyOff);
        channel.envelopePanning = channel.panningEnvelope.value >> 16;
    }
}

void XmSequencer::autoVibrato(ChannelState& channel)
{
    const XmInstrument& instrument = *channel.instr;
    if (instrument.vibratoDepth == 0) {
        return;
    }
    int delta = instrument.vibratoDepth *
                autoVibratoValue(instrument.vibratoType, channel.autoVibratoPosition);
    if (instrument.vibratoSweep != 0) {
        delta = delta * channel.autoVibratoSweep / instrument.vibratoSweep;
        if (channel.autoVibratoSweep < instrument.vibratoSweep) {
            ++channel.autoVibratoSweep;
        }
    }
    channel.periodDelta += delta >> 6;
    channel.autoVibratoPosition = (channel.autoVibratoPosition + instrument.vibratoRate) % 256;
}
