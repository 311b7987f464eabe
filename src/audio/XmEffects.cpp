// SPDX-License-Identifier: GPL-3.0-or-later
// The row effects of the sequencer: what a cell's volume column and effect do
// when its row starts.
#include "audio/XmSequencer.h"

#include <algorithm>

namespace {

int saturatedPanning(int panning)
{
    return std::clamp(panning, -32768, 32767);
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
