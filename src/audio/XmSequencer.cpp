// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/XmSequencer.h"

#include <algorithm>
#include <cmath>

namespace {

int amigaPeriod(int n)
{
    return static_cast<int>(13.375 * std::pow(2.0, (132 - n) / 12.0));
}

XmSample* sampleFor(MusicModule& module, const XmInstrument* instrument, int note)
{
    if (instrument == nullptr || note < 1 || note > 96) {
        return &module.emptySample;
    }
    const int slot = instrument->noteSample[note - 1];
    if (slot >= XmInstrument::kMaxSamples || slot >= int(instrument->samples.size())) {
        return &module.emptySample;
    }
    // The sequencer may retune a sample (E5), so it reaches the module's copy.
    auto& samples = module.instruments[std::size_t(instrument - module.instruments.data())].samples;
    return &samples[slot];
}

bool isTonePorta(const XmCell& cell)
{
    return cell.effect == 3 || cell.effect == 5 || cell.volume >= 0xF0;
}

// K00 beside a note keys the channel off instead of starting the note, as trackers do.
XmCell keyOffAsNote(XmCell cell)
{
    if (cell.effect == 20 && cell.param == 0 && cell.note >= 1 && cell.note <= 96) {
        cell.note = 255;
    }
    return cell;
}

bool isNoteDelay(const XmCell& cell)
{
    return cell.effect == 14 && (cell.param >> 4) == 13 && (cell.param & 15) != 0;
}

} // namespace

int notePeriod(FrequencyTable table, int note, int finetune)
{
    const int n = std::clamp(note, 0, 119);
    if (table == FrequencyTable::Linear) {
        return 7680 - 64 * n - finetune / 2;
    }
    const int p = amigaPeriod(n);
    if (finetune >= 0) {
        return p + (amigaPeriod(n + 1) - p) * finetune / 128;
    }
    if (n == 0) {
        return p;
    }
    return p - (p - amigaPeriod(n - 1)) * -finetune / 128;
}

void XmSequencer::reset()
{
    PlaybackState& s = m_module.state;
    s = PlaybackState{};
    s.globalVolume = m_module.startingGlobalVolume;
    s.speed = m_module.defaultSpeed;
    s.bpm = m_module.defaultBpm;
    s.samplesPerTick = samplesPerTickFor(s.bpm);
    s.playing = true;
    for (int c = 0; c < MusicModule::kMaxChannels; ++c) {
        m_module.channel[c] = ChannelState{};
        m_module.channel[c].voice = c;
    }
}

const XmPattern* XmSequencer::currentPattern() const
{
    const int number = m_module.orders[m_module.state.order];
    if (number >= int(m_module.patterns.size())) {
        return nullptr;
    }
    return &m_module.patterns[number];
}

void XmSequencer::tick()
{
    PlaybackState& s = m_module.state;
    if (s.tick == 0) {
        startRow();
        if (!s.playing) {
            return;
        }
    } else {
        for (int c = 0; c < m_module.heardChannels(); ++c) {
            ChannelState& channel = m_module.channel[c];
            channel.periodDelta = 0;
            channel.volumeDelta = 0;
            tickVolumeColumn(channel, channel.cell.volume);
            tickEffect(channel, channel.cell.effect, channel.cell.param);
        }
    }
    for (int c = 0; c < m_module.heardChannels(); ++c) {
        tickAlways(m_module.channel[c]);
    }
    if (++s.tick >= s.speed + s.patternDelay) {
        s.tick = 0;
        s.patternDelay = 0;
    }
}

void XmSequencer::startRow()
{
    PlaybackState& s = m_module.state;
    if (s.endPending) {
        // The last row has been heard in full: the song ends here.
        s.endPending = false;
        s.playing = false;
        return;
    }
    if (s.nextOrder >= 0) {
        s.order = s.nextOrder;
    }
    if (s.nextRow >= 0) {
        s.row = s.nextRow;
    }
    s.nextOrder = -1;
    s.nextRow = -1;
    const XmPattern* pattern = currentPattern();
    const int rows = pattern ? pattern->rows : 64;
    if (s.row >= rows) {
        s.row = 0;
    }
    m_jumpOnRow = false;
    m_breakOnRow = false;
    m_loopOnRow = false;
    for (int c = 0; c < m_module.heardChannels(); ++c) {
        const XmCell cell = pattern ? m_module.cellAt(*pattern, s.row, c) : XmCell{};
        processCell(m_module.channel[c], cell);
    }
    advanceRowPointer(rows);
}

void XmSequencer::advanceRowPointer(int rows)
{
    PlaybackState& s = m_module.state;
    if (m_breakOnRow) {
        s.nextRow = m_breakRow;
        if (!m_jumpOnRow && !m_loopOnRow) {
            s.nextOrder = s.order + 1 >= m_module.songLength ? 0 : s.order + 1;
        }
    }
    if (s.nextRow >= 0) {
        return;
    }
    s.nextRow = s.row + 1;
    if (s.nextRow >= rows) {
        s.nextRow = 0;
        s.nextOrder = s.order + 1;
        if (s.nextOrder >= m_module.songLength) {
            s.nextOrder = m_module.restartPosition;
            s.endPending = true;
        }
    }
}

void XmSequencer::processCell(ChannelState& channel, const XmCell& cell)
{
    channel.previousEffect = channel.cell.effect;
    channel.cell = cell;
    if (channel.previousEffect == 7 && cell.effect != 7) {
        channel.volume = std::clamp(channel.volume + channel.volumeDelta, 0, 64);
    }
    channel.periodDelta = 0;
    channel.volumeDelta = 0;
    channel.notePending = isNoteDelay(cell);
    if (!channel.notePending) {
        triggerNote(channel, keyOffAsNote(cell));
        rowVolumeColumn(channel, cell.volume);
    }
    // After the note: an instrument reset on the same row must not undo the key-off.
    if (cell.note == 255 || cell.effect == 20) {
        channel.keyOff = true;
    }
    rowEffect(channel, cell.effect, cell.param);
}

void XmSequencer::triggerNote(ChannelState& channel, const XmCell& cell)
{
    const bool hasNote = cell.note >= 1 && cell.note <= 96;
    if (hasNote && isTonePorta(cell)) {
        if (channel.sample != nullptr) {
            const XmSample* target =
                channel.instr ? sampleFor(m_module, channel.instr, cell.note) : channel.sample;
            channel.targetPeriod =
                notePeriod(m_module.table, cell.note + target->relativeNote - 1, target->finetune);
        }
        return;
    }
    if (cell.instrument != 0) {
        channel.instrument = cell.instrument;
        channel.instr = cell.instrument <= int(m_module.instruments.size())
                            ? &m_module.instruments[cell.instrument - 1]
                            : nullptr;
    }
    if (hasNote) {
        channel.note = cell.note;
        channel.sample = channel.instrument == 0 ? &m_module.emptySample
                                                 : sampleFor(m_module, channel.instr, cell.note);
        setNotePeriod(channel, cell.note);
        channel.sampleOffset = 0;
        channel.flags |= ChannelFlag::StartSample;
    }
    if (cell.instrument != 0 && cell.note != 255 && channel.sample != nullptr) {
        resetInstrument(channel);
    }
}

void XmSequencer::setNotePeriod(ChannelState& channel, int note)
{
    const XmSample& sample = *channel.sample;
    channel.period = notePeriod(m_module.table, note + sample.relativeNote - 1, sample.finetune);
    channel.targetPeriod = channel.period;
    channel.periodDelta = 0;
    channel.flags |= ChannelFlag::Frequency | ChannelFlag::Volume;
}

void XmSequencer::resetInstrument(ChannelState& channel)
{
    channel.volume = channel.sample->volume;
    channel.panning = channel.sample->panning;
    channel.envelopeVolume = 64;
    channel.envelopePanning = 32;
    channel.fadeoutVolume = 65536;
    channel.volumeEnvelope = EnvelopeState{};
    channel.panningEnvelope = EnvelopeState{};
    channel.autoVibratoPosition = 0;
    channel.autoVibratoSweep = 0;
    channel.tremorCounter = 0;
    channel.keyOff = false;
    if (channel.vibratoWaveform < 4) {
        channel.vibratoPosition = 0;
    }
    if (channel.tremoloWaveform < 4) {
        channel.tremoloPosition = 0;
    }
    channel.flags |= ChannelFlag::Volume | ChannelFlag::Panning;
}

void XmSequencer::noteDelayTrigger(ChannelState& channel)
{
    channel.notePending = false;
    triggerNote(channel, channel.cell);
    rowVolumeColumn(channel, channel.cell.volume);
}

void XmSequencer::restartSample(ChannelState& channel)
{
    if (channel.sample != nullptr) {
        channel.sampleOffset = 0;
        channel.flags |= ChannelFlag::StartSample;
    }
}
