// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"
#include "audio/MusicVoices.h"

#include <gtest/gtest.h>

#include <cmath>

using Cell = XmBuilder::Cell;

namespace {

// Loads a module and steps its sequencer tick by tick.
class Sequencer {
public:
    explicit Sequencer(const XmBuilder& builder)
        : m_module(audiotest::load(builder)), m_sequencer(*m_module)
    {
        m_sequencer.reset();
    }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            m_sequencer.tick();
        }
    }
    // Runs until the next row starts (tick back to 0).
    void row()
    {
        ticks(1);
        while (state().tick != 0) {
            ticks(1);
        }
    }
    const PlaybackState& state() const { return m_module->state; }
    const ChannelState& channel(int c = 0) const { return m_module->channel[c]; }
    MusicModule& module() { return *m_module; }

private:
    std::unique_ptr<MusicModule> m_module;
    XmSequencer m_sequencer;
};

XmBuilder oneChannel(int rows = 8, int patterns = 1)
{
    XmBuilder b(1);
    b.addInstrument(XmBuilder::sineSample(64));
    for (int p = 0; p < patterns; ++p) {
        b.addPattern(rows);
    }
    b.orders.clear();
    for (int p = 0; p < patterns; ++p) {
        b.orders.push_back(p);
    }
    return b;
}

// An envelope that holds at its second point until key-off.
void holdAtSecondPoint(XmBuilder::Envelope& envelope, std::vector<std::pair<int, int>> points)
{
    envelope.points = std::move(points);
    envelope.sustain = 1;
    envelope.type = 1 | 2;
}

} // namespace

TEST(XmTiming, TicksRowsSpeedAndTempo)
{
    EXPECT_EQ(samplesPerTickFor(125), 882);
    XmBuilder b = oneChannel();
    b.cell(0, 1, 0) = Cell{0, 0, 0, 15, 31};
    b.cell(0, 2, 0) = Cell{0, 0, 0, 15, 32};
    b.cell(0, 3, 0) = Cell{0, 0, 0, 16, 0x50};
    Sequencer s(b);
    s.row();
    EXPECT_EQ(s.state().samplesPerTick * s.state().speed, 5292);
    s.row();
    EXPECT_EQ(s.state().speed, 31);
    EXPECT_EQ(s.state().bpm, 125);
    s.row();
    EXPECT_EQ(s.state().speed, 31);
    EXPECT_EQ(s.state().bpm, 32);
    EXPECT_EQ(s.state().samplesPerTick, samplesPerTickFor(32));
    s.ticks(1);
    EXPECT_EQ(s.state().globalVolume, 64);
    EXPECT_EQ(s.state().row, 3);
}

TEST(XmTiming, SpeedZeroEndsTheSongAfterItsRow)
{
    XmBuilder b = oneChannel();
    b.cell(0, 2, 0) = Cell{0, 0, 0, 15, 0};
    b.orders = {0, 0};
    Sequencer s(b);
    s.ticks(2 * 6 + 1);
    EXPECT_EQ(s.state().row, 2);
    EXPECT_EQ(s.state().speed, 6);
    s.ticks(5);
    EXPECT_TRUE(s.state().playing);
    s.ticks(1);
    EXPECT_FALSE(s.state().playing);
}

TEST(XmTiming, PatternDelayLengthensTheRow)
{
    XmBuilder b = oneChannel();
    b.cell(0, 0, 0) = Cell{0, 0, 0, 14, 0xE2};
    Sequencer s(b);
    s.ticks(6 * 3);
    EXPECT_EQ(s.state().row, 0);
    s.ticks(1);
    EXPECT_EQ(s.state().row, 1);
}

TEST(XmOrder, BreakJumpAndLoop)
{
    XmBuilder b = oneChannel(16, 3);
    b.cell(0, 1, 0) = Cell{0, 0, 0, 13, 0x11}; // break to row 11 (decimal) of the next order
    b.cell(1, 12, 0) = Cell{0, 0, 0, 11, 2};   // jump to order 2
    b.cell(2, 0, 0) = Cell{0, 0, 0, 13, 0x70}; // a break past 63 goes to row 0 of the next order
    Sequencer s(b);
    std::vector<std::pair<int, int>> visited;
    for (int i = 0; i < 6; ++i) {
        s.row();
        visited.emplace_back(s.state().order, s.state().row);
    }
    const std::vector<std::pair<int, int>> expected{{0, 0},  {0, 1}, {1, 11},
                                                    {1, 12}, {2, 0}, {0, 0}};
    EXPECT_EQ(visited, expected);
    EXPECT_TRUE(s.state().playing);

    XmBuilder loop = oneChannel(8);
    loop.cell(0, 1, 0) = Cell{0, 0, 0, 14, 0x60};
    loop.cell(0, 3, 0) = Cell{0, 0, 0, 14, 0x62};
    Sequencer l(loop);
    std::vector<int> rows;
    for (int i = 0; i < 11; ++i) {
        l.row();
        rows.push_back(l.state().row);
    }
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 4}));
}

TEST(XmOrder, MissingPatternsAreSilentAndTheSongEndsOnce)
{
    XmBuilder b = oneChannel(4);
    b.orders = {0, 5};
    Sequencer s(b);
    ASSERT_EQ(s.module().patterns.size(), 6u);
    EXPECT_EQ(s.module().patterns[5].rows, 64);
    for (int i = 0; i < 4 + 64; ++i) {
        s.row();
    }
    EXPECT_EQ(s.state().order, 1);
    EXPECT_EQ(s.state().row, 63);
    EXPECT_TRUE(s.state().playing);
    s.ticks(1); // the song ends when its last row has been heard in full
    EXPECT_FALSE(s.state().playing);
}

TEST(XmNotes, PeriodsAndInstrumentReset)
{
    EXPECT_EQ(notePeriod(FrequencyTable::Linear, 48, 0), 4608);
    EXPECT_EQ(notePeriod(FrequencyTable::Linear, 48, -7), 4608 + 3);
    EXPECT_EQ(notePeriod(FrequencyTable::Amiga, 48, 0), 1712);
    const int next = int(13.375 * std::pow(2.0, (132 - 49) / 12.0));
    EXPECT_EQ(notePeriod(FrequencyTable::Amiga, 48, 64), 1712 + (next - 1712) * 64 / 128);
    XmBuilder b = oneChannel();
    b.instruments[0].samples[0].volume = 40;
    b.instruments[0].samples[0].panning = 200;
    b.cell(0, 0, 0) = Cell{49, 1, 0, 0, 0};
    b.cell(0, 1, 0) = Cell{61, 0, 0x20, 0, 0};
    b.cell(0, 2, 0) = Cell{49, 9, 0, 0, 0}; // no such instrument
    Sequencer s(b);
    s.ticks(1);
    EXPECT_EQ(s.channel().period, 4608);
    EXPECT_EQ(s.channel().volume, 40);
    EXPECT_EQ(s.channel().panning, 200);
    s.row();
    s.ticks(1);
    EXPECT_EQ(s.channel().period, 4608 - 12 * 64);
    EXPECT_EQ(s.channel().volume, 16);
    s.row();
    s.ticks(1);
    EXPECT_EQ(s.channel().sample, &s.module().emptySample);
}

TEST(XmEffects, SlidesAndPortamentos)
{
    XmBuilder b = oneChannel();
    b.cell(0, 0, 0) = Cell{49, 1, 0, 1, 2};     // porta up 2
    b.cell(0, 1, 0) = Cell{0, 0, 0, 2, 0};      // porta down from memory of 2's own (0)
    b.cell(0, 2, 0) = Cell{61, 0, 0, 3, 8};     // tone porta towards C-5
    b.cell(0, 3, 0) = Cell{0, 0, 0, 10, 0x04};  // volume slide down 4
    b.cell(0, 4, 0) = Cell{0, 0, 0x65, 12, 80}; // set volume (capped), then volume column down 5
    Sequencer s(b);
    s.row();
    EXPECT_EQ(s.channel().period, 4608 - 5 * 8);
    s.row();
    EXPECT_EQ(s.channel().period, 4608 - 5 * 8);
    s.row();
    EXPECT_EQ(s.channel().period, 4608 - 40 - 5 * 32);
    EXPECT_EQ(s.channel().targetPeriod, 3840);
    s.row();
    EXPECT_EQ(s.channel().volume, 64 - 5 * 4);
    s.ticks(1);
    EXPECT_EQ(s.channel().volume, 64);
    s.ticks(5);
    EXPECT_EQ(s.channel().volume, 64 - 25);
}

TEST(XmEffects, VibratoTremoloAndArpeggio)
{
    XmBuilder b = oneChannel();
    b.cell(0, 0, 0) = Cell{49, 1, 0, 4, 0x48};   // vibrato speed 4 depth 8
    b.cell(0, 1, 0) = Cell{0, 0, 0x30, 7, 0x4F}; // volume 32, tremolo speed 4 depth 15
    b.cell(0, 2, 0) = Cell{0, 0, 0, 0, 0x47};    // arpeggio +4, +7
    Sequencer s(b);
    s.ticks(2); // one vibrato step at position 0: sine 0
    EXPECT_EQ(s.channel().periodDelta, 0);
    s.ticks(1); // position 4: |sin(pi/8)| * 256 = 97
    EXPECT_EQ(s.channel().periodDelta, -((8 * 97) >> 7) * 4);
    s.row();
    s.ticks(2); // tremolo position 0, then 4: value 97
    EXPECT_EQ(s.channel().volumeDelta, 0);
    s.ticks(1);
    EXPECT_EQ(s.channel().volumeDelta, (97 * 15) >> 6);
    s.row();
    s.ticks(2);
    EXPECT_EQ(s.channel().volume, 64); // the last tremolo offset stays in the volume
    EXPECT_EQ(s.channel().periodDelta, 4 * 64);
    s.ticks(1);
    EXPECT_EQ(s.channel().periodDelta, 7 * 64);
    s.ticks(1);
    EXPECT_EQ(s.channel().periodDelta, 0);
}

TEST(XmEffects, PanningOffsetAndGlobalSlides)
{
    XmBuilder b = oneChannel();
    b.cell(0, 0, 0) = Cell{49, 1, 0xC2, 0, 0}; // panning 32
    b.cell(0, 1, 0) = Cell{0, 0, 0, 25, 0x30}; // panning slide right 3
    b.cell(0, 2, 0) = Cell{0, 0, 0, 17, 0x02}; // global volume down 2
    b.cell(0, 3, 0) = Cell{0, 0, 0, 8, 255};
    b.cell(0, 4, 0) = Cell{49, 1, 0, 9, 0x01}; // offset 256 < 64-sample loop end: stops
    Sequencer s(b);
    s.row();
    EXPECT_EQ(s.channel().panning, 32);
    s.row();
    EXPECT_EQ(s.channel().panning, 32 + 15);
    s.row();
    EXPECT_EQ(s.state().globalVolume, 64 - 10);
    s.row();
    EXPECT_EQ(s.channel().panning, 255);
    s.ticks(1);
    EXPECT_TRUE(s.channel().flags & ChannelFlag::Stop);
    EXPECT_FALSE(s.channel().flags & ChannelFlag::StartSample);
}

TEST(XmEffects, NoteDelayCutAndRetrigger)
{
    XmBuilder b = oneChannel();
    b.cell(0, 0, 0) = Cell{49, 1, 0, 14, 0xD3};
    b.cell(0, 1, 0) = Cell{0, 0, 0, 14, 0xC2};
    b.cell(0, 2, 0) = Cell{49, 1, 0, 14, 0x92};
    Sequencer s(b);
    s.ticks(3);
    EXPECT_EQ(s.channel().period, 0);
    EXPECT_FALSE(s.channel().flags & ChannelFlag::StartSample);
    s.ticks(1);
    EXPECT_EQ(s.channel().period, 4608);
    EXPECT_TRUE(s.channel().flags & ChannelFlag::StartSample);
    s.row();
    s.ticks(2);
    EXPECT_EQ(s.channel().volume, 64);
    s.ticks(1);
    EXPECT_EQ(s.channel().volume, 0);
    s.row();
    MusicVoices voices;
    int restarts = 0;
    for (int t = 0; t < 6; ++t) {
        s.ticks(1);
        restarts += (s.channel().flags & ChannelFlag::StartSample) ? 1 : 0;
        voices.update(s.module());
    }
    EXPECT_EQ(restarts, 3); // ticks 0, 2 and 4
}

TEST(XmEnvelopes, SustainLoopKeyOffAndFadeout)
{
    XmBuilder b = oneChannel(16);
    XmBuilder::Instrument& ins = b.instruments[0];
    holdAtSecondPoint(ins.volume, {{0, 64}, {4, 32}, {8, 0}});
    ins.panning.points = {{0, 0}, {2, 64}};
    ins.panning.loopStart = 0;
    ins.panning.loopEnd = 1;
    ins.panning.type = 1 | 4;
    ins.fadeout = 4096;
    b.cell(0, 0, 0) = Cell{49, 1, 0, 0, 0};
    b.cell(0, 2, 0) = Cell{255, 0, 0, 0, 0};
    Sequencer s(b);
    std::vector<int> volume;
    std::vector<int> panning;
    for (int t = 0; t < 6; ++t) {
        s.ticks(1);
        volume.push_back(s.channel().envelopeVolume);
        panning.push_back(s.channel().envelopePanning);
    }
    EXPECT_EQ(volume, (std::vector<int>{64, 56, 48, 40, 32, 32}));
    EXPECT_EQ(panning, (std::vector<int>{0, 32, 0, 32, 0, 32}));
    s.ticks(6);
    EXPECT_EQ(s.channel().envelopeVolume, 32);
    EXPECT_EQ(s.channel().fadeoutVolume, 65536);
    s.ticks(1); // key-off row
    EXPECT_TRUE(s.channel().keyOff);
    EXPECT_EQ(s.channel().fadeoutVolume, 65536 - 8192);
    s.ticks(4);
    EXPECT_EQ(s.channel().envelopeVolume, 0);
    s.ticks(20);
    EXPECT_EQ(s.channel().fadeoutVolume, 0);
    EXPECT_EQ(MusicVoices::channelGain(s.channel(), 64), 0);
}

TEST(XmEnvelopes, KeyOffBesideANoteAndInstrumentIsKept)
{
    XmBuilder b = oneChannel(8);
    holdAtSecondPoint(b.instruments[0].volume, {{0, 64}, {4, 64}, {8, 0}});
    b.cell(0, 0, 0) = Cell{49, 1, 0, 0, 0};
    b.cell(0, 1, 0) = Cell{61, 1, 0, 20, 0}; // K00: a key-off instead of the note
    b.cell(0, 3, 0) = Cell{49, 1, 0, 20, 3}; // the note starts, released at once
    Sequencer s(b);
    MusicVoices voices;
    s.row();
    voices.update(s.module());
    EXPECT_EQ(s.channel().envelopeVolume, 64);
    s.ticks(1);
    EXPECT_TRUE(s.channel().keyOff);
    EXPECT_EQ(s.channel().period, 4608);
    EXPECT_FALSE(s.channel().flags & ChannelFlag::StartSample);
    s.ticks(11);
    EXPECT_EQ(s.channel().envelopeVolume, 0);
    s.row();
    EXPECT_TRUE(s.channel().keyOff);
    EXPECT_TRUE(s.channel().flags & ChannelFlag::StartSample);
    EXPECT_EQ(s.channel().fadeoutVolume, 65536);
}

TEST(XmEnvelopes, SetEnvelopePositionAndTremor)
{
    XmBuilder b = oneChannel();
    XmBuilder::Instrument& ins = b.instruments[0];
    ins.volume.points = {{0, 0}, {10, 40}, {20, 60}};
    ins.volume.type = 1;
    b.cell(0, 0, 0) = Cell{49, 1, 0, 21, 5};
    b.cell(0, 1, 0) = Cell{0, 0, 0, 29, 0x11}; // on 2 ticks, off 2 ticks
    Sequencer s(b);
    s.ticks(1);
    EXPECT_EQ(s.channel().envelopeVolume, 24); // 5 + one step, of 4 per tick
    s.row();
    std::vector<int> deltas;
    for (int t = 0; t < 6; ++t) {
        s.ticks(1);
        deltas.push_back(s.channel().volumeDelta);
    }
    EXPECT_EQ(deltas, (std::vector<int>{0, 0, 0, -64, -64, 0}));
}

// Gains and frequencies show in the rendering tests; here the limits.
TEST(XmVoices, PanningEnvelopeAndLowestFrequency)
{
    ChannelState channel;
    channel.panning = 100;
    channel.envelopePanning = 64;
    EXPECT_EQ(MusicVoices::channelPanning(channel), 100 + 32 * 3);
    channel.panning = 0;
    EXPECT_EQ(MusicVoices::channelPanning(channel), 0);
    channel.period = 1 << 30;
    EXPECT_EQ(MusicVoices::channelFrequency(channel, FrequencyTable::Amiga), 100);
}
