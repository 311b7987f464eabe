// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/MusicModule.h"

#include <algorithm>

// Runs a module's pattern sequencer one tick at a time, leaving change flags
// on the channels for the voice update.
class XmSequencer {
public:
    explicit XmSequencer(MusicModule& module) : m_module(module) {}

    // Back to the first order with the module's defaults and clear channels.
    void reset();
    void tick();

private:
    static constexpr int kMinPeriod = 56;
    static int clampVolume(int volume) { return std::clamp(volume, 0, 64); }

    void startRow();
    void advanceRowPointer(int rows);
    void processCell(ChannelState& channel, const XmCell& cell);
    void triggerNote(ChannelState& channel, const XmCell& cell);
    void resetInstrument(ChannelState& channel);
    void setNotePeriod(ChannelState& channel, int note);
    void rowVolumeColumn(ChannelState& channel, int volume);
    void tickVolumeColumn(ChannelState& channel, int volume);
    void rowEffect(ChannelState& channel, int effect, int param);
    void rowExtended(ChannelState& channel, int sub, int y);
    void tickEffect(ChannelState& channel, int effect, int param);
    void tickExtended(ChannelState& channel, int sub, int y);
    void tickAlways(ChannelState& channel);
    void noteDelayTrigger(ChannelState& channel);

    void portaUp(ChannelState& channel, int amount);
    void portaDown(ChannelState& channel, int amount);
    void tonePorta(ChannelState& channel);
    void vibrato(ChannelState& channel);
    void tremolo(ChannelState& channel);
    void volumeSlide(ChannelState& channel, int param);
    void multiRetrig(ChannelState& channel);
    void arpeggio(ChannelState& channel, int param);
    void globalVolumeSlide();
    void panningSlide(ChannelState& channel);
    void sampleOffset(ChannelState& channel, int param);
    void extraFinePorta(ChannelState& channel, int sub, int y);
    void patternLoop(ChannelState& channel, int y);
    void tremor(ChannelState& channel);
    void setEnvelopePosition(ChannelState& channel, int position);
    void stepEnvelopes(ChannelState& channel);
    void autoVibrato(ChannelState& channel);
    void restartSample(ChannelState& channel);

    const XmPattern* currentPattern() const;

    MusicModule& m_module;
    bool m_jumpOnRow = false;
    bool m_breakOnRow = false;
    bool m_loopOnRow = false;
    int m_breakRow = 0;
};

// Period of a note for a sample's finetune, in the module's table.
int notePeriod(FrequencyTable table, int note, int finetune);
