// SPDX-License-Identifier: GPL-3.0-or-later
#include "XmModule.h"

#include "WaveFile.h"

namespace soundgen {

namespace {

constexpr uint32_t kHeaderSize = 276;
constexpr uint32_t kInstrumentHeaderSize = 263;
constexpr uint32_t kSampleHeaderSize = 40;

void writeHeader(const XmModule& m, std::vector<uint8_t>& out)
{
    putText(out, "Extended Module: ", 17);
    putText(out, m.name, 20);
    putU8(out, 0x1A);
    putText(out, "soundgen", 20);
    putU16(out, 0x0104);
    putU32(out, kHeaderSize);
    putU16(out, static_cast<unsigned>(m.orders.size()));
    putU16(out, m.restart);
    putU16(out, m.channels);
    putU16(out, static_cast<unsigned>(m.patterns.size()));
    putU16(out, static_cast<unsigned>(m.instruments.size()));
    putU16(out, 1); // linear frequency table
    putU16(out, m.speed);
    putU16(out, m.bpm);
    for (size_t i = 0; i < 256; ++i)
        putU8(out, i < m.orders.size() ? m.orders[i] : 0);
}

// A cell with every field present is stored plain; otherwise a mask byte says which follow.
void packCell(const XmCell& c, std::vector<uint8_t>& out)
{
    const unsigned mask = (c.note ? 1 : 0) | (c.instrument ? 2 : 0) | (c.volume ? 4 : 0) |
                          (c.effect ? 8 : 0) | (c.param ? 16 : 0);
    if (mask == 31) {
        for (uint8_t b : {c.note, c.instrument, c.volume, c.effect, c.param})
            putU8(out, b);
        return;
    }
    putU8(out, 0x80 | mask);
    if (mask & 1)
        putU8(out, c.note);
    if (mask & 2)
        putU8(out, c.instrument);
    if (mask & 4)
        putU8(out, c.volume);
    if (mask & 8)
        putU8(out, c.effect);
    if (mask & 16)
        putU8(out, c.param);
}

void writePattern(const XmPattern& p, std::vector<uint8_t>& out)
{
    std::vector<uint8_t> packed;
    for (const XmCell& c : p.cells)
        packCell(c, packed);
    putU32(out, 9);
    putU8(out, 0);
    putU16(out, p.rows);
    putU16(out, static_cast<unsigned>(packed.size()));
    out.insert(out.end(), packed.begin(), packed.end());
}

void writeEnvelopePoints(const XmEnvelope& e, std::vector<uint8_t>& out)
{
    for (size_t i = 0; i < 12; ++i) {
        putU16(out, i < e.points.size() ? e.points[i].tick : 0);
        putU16(out, i < e.points.size() ? e.points[i].value : 0);
    }
}

unsigned envelopeFlags(const XmEnvelope& e)
{
    if (!e.enabled())
        return 0;
    return 1 | (e.sustain >= 0 ? 2 : 0) | (e.loopStart >= 0 ? 4 : 0);
}

void writeEnvelopeSettings(const XmInstrument& in, std::vector<uint8_t>& out)
{
    const XmEnvelope& v = in.volumeEnvelope;
    const XmEnvelope& p = in.panningEnvelope;
    putU8(out, static_cast<unsigned>(v.points.size()));
    putU8(out, static_cast<unsigned>(p.points.size()));
    for (const XmEnvelope* e : {&v, &p}) {
        putU8(out, e->sustain < 0 ? 0 : e->sustain);
        putU8(out, e->loopStart < 0 ? 0 : e->loopStart);
        putU8(out, e->loopEnd < 0 ? 0 : e->loopEnd);
    }
    putU8(out, envelopeFlags(v));
    putU8(out, envelopeFlags(p));
}

void writeInstrument(const XmInstrument& in, std::vector<uint8_t>& out)
{
    putU32(out, kInstrumentHeaderSize);
    putText(out, in.name, 22);
    putU8(out, 0);
    putU16(out, 1);
    putU32(out, kSampleHeaderSize);
    for (int note = 0; note < 96; ++note)
        putU8(out, 0);
    writeEnvelopePoints(in.volumeEnvelope, out);
    writeEnvelopePoints(in.panningEnvelope, out);
    writeEnvelopeSettings(in, out);
    for (uint8_t b : {in.vibratoType, in.vibratoSweep, in.vibratoDepth, in.vibratoRate})
        putU8(out, b);
    putU16(out, in.fadeout);
    putText(out, "", 22); // reserved

    const XmSample& s = in.sample;
    const unsigned loopBits = s.loop == XmLoop::Forward ? 1 : s.loop == XmLoop::PingPong ? 2 : 0;
    putU32(out, static_cast<uint32_t>(s.data.size() * 2));
    putU32(out, s.loopStart * 2);
    putU32(out, s.loopLength * 2);
    putU8(out, s.volume);
    putU8(out, static_cast<uint8_t>(s.finetune));
    putU8(out, loopBits | 0x10); // 16-bit data
    putU8(out, s.panning);
    putU8(out, static_cast<uint8_t>(s.relativeNote));
    putU8(out, 0);
    putText(out, in.name, 22);

    int16_t previous = 0;
    for (int16_t v : s.data) {
        putU16(out, static_cast<uint16_t>(static_cast<int16_t>(v - previous)));
        previous = v;
    }
}

} // namespace

std::vector<uint8_t> writeXm(const XmModule& module)
{
    std::vector<uint8_t> out;
    writeHeader(module, out);
    for (const XmPattern& p : module.patterns)
        writePattern(p, out);
    for (const XmInstrument& in : module.instruments)
        writeInstrument(in, out);
    return out;
}

} // namespace soundgen
