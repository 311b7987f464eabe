// The row and tick effects of the sequencer.
#include "audio/XmSequencer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kMinPeriod = 56;

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

int clampVolume(int volume)
{
    return std::clamp(volume, 0, 64);
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

int saturatedPanning(int panning)
{
    return std::clamp(panning, -32768, 32767);
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

void XmSequencer::rowVolumeColumn(ChannelState& channel, int volume)
{
    const int x = volume & 15;
    switch (volume >> 4) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
        channel.volume = std::min(volume - 16, 64);
        break;
    case 6:
        channel.volume = clampVolume(channel.volume - x);
        break;
    case 7:
        channel.volume = clampVolume(channel.volume + x);
        break;
    case 8:
        channel.volume = clampVolume(channel.volume - x);
        break;
    case 9:
        channel.volume = clampVolume(channel.volume + x);
        break;
    case 10:
        channel.vibratoSpeed = x;
        break;
    case 11:
        channel.vibratoDepth = x;
        break;
    case 12:
        channel.panning = x * 16;
        break;
    case 13:
        channel.panning = saturatedPanning(channel.panning - x);
        break;
    case 14:
        channel.panning = saturatedPanning(channel.panning + x);
        break;
    case 15:
        if (x != 0) {
            channel.portaSpeed = x * 16;
        }
        break;
    default:
        return;
    }
    channel.flags |= ChannelFlag::Volume | ChannelFlag::Panning;
}

void XmSequencer::tickVolumeColumn(ChannelState& channel, int volume)
{
    const int x = volume & 15;
    switch (volume >> 4) {
    case 6:
        channel.volume = clampVolume(channel.volume - x);
        break;
    case 7:
        channel.volume = clampVolume(channel.volume + x);
        break;
    case 11:
        vibrato(channel);
        break;
    case 13:
        channel.panning = saturatedPanning(channel.panning - x);
        break;
    case 14:
        channel.panning = saturatedPanning(channel.panning + x);
        break;
    case 15:
        tonePorta(channel);
        break;
    default:
        return;
    }
    channel.flags |= ChannelFlag::Volume | ChannelFlag::Panning | ChannelFlag::Frequency;
}

void XmSequencer::rowEffect(ChannelState& channel, int effect, int param)
{
    PlaybackState& s = m_module.state;
    const int x = param >> 4;
    const int y = param & 15;
    switch (effect) {
    case 1:
        if (param)
            channel.portaUpMemory = param;
        break;
    case 2:
        if (param)
            channel.portaDownMemory = param;
        break;
    case 3:
        if (param)
            channel.portaSpeed = param;
        break;
    case 4:
        if (x)
            channel.vibratoSpeed = x;
        if (y)
            channel.vibratoDepth = y;
        break;
    case 5:
    case 6:
    case 10:
        if (param)
            channel.volumeSlideMemory = param;
        break;
    case 7:
        if (x)
            channel.tremoloSpeed = x;
        if (y)
            channel.tremoloDepth = y;
        break;
    case 8:
        channel.panning = param;
        break;
    case 9:
        sampleOffset(channel, param);
        break;
    case 11:
        s.nextOrder = param < m_module.songLength ? param : 0;
        s.nextRow = 0;
        m_jumpOnRow = true;
        break;
    case 12:
        channel.volume = std::min(param, 64);
        break;
    case 13:
        m_breakOnRow = true;
        m_breakRow = x * 10 + y > 63 ? 0 : x * 10 + y;
        break;
    case 14:
        rowExtended(channel, x, y);
        break;
    case 15:
        if (param == 0) {
            s.endPending = true; // as in the tracker: the song stops after this row
        } else if (param < 32) {
            s.speed = param;
        } else {
            s.bpm = param;
            s.samplesPerTick = samplesPerTickFor(param);
        }
        break;
    case 16:
        s.globalVolume = std::min(param, 64);
        break;
    case 17:
        if (param)
            s.globalSlideMemory = param;
        break;
    case 21:
        setEnvelopePosition(channel, param);
        break;
    case 25:
        if (param)
            channel.panningSlideMemory = param;
        break;
    case 27:
        if (param)
            channel.multiRetrigMemory = param;
        break;
    case 29:
        if (param) {
            channel.tremorOn = x + 1;
            channel.tremorOff = y + 1;
        }
        break;
    case 33:
        extraFinePorta(channel, x, y);
        break;
    default:
        return;
    }
    channel.flags |= ChannelFlag::Volume | ChannelFlag::Panning | ChannelFlag::Frequency;
}

void XmSequencer::sampleOffset(ChannelState& channel, int param)
{
    if (param) {
        channel.offsetMemory = param;
    }
    if (!(channel.flags & ChannelFlag::StartSample) || channel.sample == nullptr) {
        return;
    }
    channel.sampleOffset = channel.offsetMemory * 256;
    if (channel.sampleOffset >= channel.sample->loopEnd()) {
        channel.flags &= ~ChannelFlag::StartSample;
        channel.flags |= ChannelFlag::Stop;
    }
}

void XmSequencer::extraFinePorta(ChannelState& channel, int sub, int y)
{
    if (sub == 1) {
        if (y)
            channel.extraFineUpMemory = y;
        channel.period = std::max(channel.period - channel.extraFineUpMemory, kMinPeriod);
    } else if (sub == 2) {
        if (y)
            channel.extraFineDownMemory = y;
        channel.period += channel.extraFineDownMemory;
    }
}

void XmSequencer::rowExtended(ChannelState& channel, int sub, int y)
{
    PlaybackState& s = m_module.state;
    switch (sub) {
    case 1:
        if (y)
            channel.finePortaUpMemory = y;
        channel.period = std::max(channel.period - 4 * channel.finePortaUpMemory, kMinPeriod);
        break;
    case 2:
        if (y)
            channel.finePortaDownMemory = y;
        channel.period += 4 * channel.finePortaDownMemory;
        break;
    case 4:
        channel.vibratoWaveform = y;
        break;
    case 5:
        if (channel.sample != nullptr && channel.sample != &m_module.emptySample) {
            channel.sample->finetune = y;
        }
        break;
    case 6:
        patternLoop(channel, y);
        break;
    case 7:
        channel.tremoloWaveform = y;
        break;
    case 8:
        channel.panning = y * 16;
        break;
    case 10:
        if (y)
            channel.fineVolumeMemory = y;
        channel.volume = clampVolume(channel.volume + channel.fineVolumeMemory);
        break;
    case 11:
        if (y)
            channel.fineVolumeMemory = y;
        channel.volume = clampVolume(channel.volume - channel.fineVolumeMemory);
        break;
    case 14:
        s.patternDelay = y * s.speed;
        break;
    default:
        break;
    }
}

void XmSequencer::patternLoop(ChannelState& channel, int y)
{
    if (y == 0) {
        channel.loopRow = m_module.state.row;
        return;
    }
    channel.loopCount = channel.loopCount == 0 ? y : channel.loopCount - 1;
    if (channel.loopCount != 0) {
        m_module.state.nextRow = channel.loopRow;
        m_loopOnRow = true;
    }
}

void XmSequencer::tickEffect(ChannelState& channel, int effect, int param)
{
    PlaybackState& s = m_module.state;
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
    (void)s;
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
    const int x = param >> 4;
    const int y = param & 15;
    if (x > 0) {
        channel.volume = std::min(channel.volume + x, 64);
    } else if (y > 0) {
        channel.volume = std::max(channel.volume - y, 0);
    }
}

void XmSequencer::globalVolumeSlide()
{
    PlaybackState& s = m_module.state;
    const int x = s.globalSlideMemory >> 4;
    const int y = s.globalSlideMemory & 15;
    if (x > 0) {
        s.globalVolume = std::min(s.globalVolume + x, 64);
    } else if (y > 0) {
        s.globalVolume = std::max(s.globalVolume - y, 0);
    }
}

void XmSequencer::panningSlide(ChannelState& channel)
{
    const int x = channel.panningSlideMemory >> 4;
    const int y = channel.panningSlideMemory & 15;
    if (x > 0) {
        channel.panning = std::min(channel.panning + x, 255);
    } else if (y > 0) {
        channel.panning = std::max(channel.panning - y, 0);
    }
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
