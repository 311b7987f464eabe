#include "XmReader.h"

#include <cstring>

namespace {

class Cursor {
public:
    explicit Cursor(const std::vector<uint8_t>& b) : m_b(b) {}
    bool ok() const { return m_ok; }
    size_t at() const { return m_at; }
    void seek(size_t at)
    {
        m_ok = m_ok && at <= m_b.size();
        m_at = at;
    }
    unsigned u8()
    {
        if (m_at + 1 > m_b.size())
            return m_ok = false, 0;
        return m_b[m_at++];
    }
    unsigned u16() { return u8() | u8() << 8; }
    uint32_t u32() { return u16() | static_cast<uint32_t>(u16()) << 16; }
    void skip(size_t n) { seek(m_at + n); }

private:
    const std::vector<uint8_t>& m_b;
    size_t m_at = 0;
    bool m_ok = true;
};

XmInfo::Pattern readPattern(Cursor& in, unsigned channels)
{
    const size_t start = in.at();
    const uint32_t headerLength = in.u32();
    in.u8();
    XmInfo::Pattern p;
    p.rows = in.u16();
    const unsigned packed = in.u16();
    in.seek(start + headerLength);
    const size_t end = in.at() + packed;
    for (unsigned i = 0; i < p.rows * channels && packed > 0; ++i) {
        XmInfo::Cell c{0, 0, 0, 0, 0};
        const unsigned first = in.u8();
        if (first & 0x80) {
            if (first & 1)
                c.note = in.u8();
            if (first & 2)
                c.instrument = in.u8();
            if (first & 4)
                c.volume = in.u8();
            if (first & 8)
                c.effect = in.u8();
            if (first & 16)
                c.param = in.u8();
        } else {
            c = {first, in.u8(), in.u8(), in.u8(), in.u8()};
        }
        p.cells.push_back(c);
    }
    if (packed == 0)
        p.cells.assign(p.rows * channels, XmInfo::Cell{0, 0, 0, 0, 0});
    if (in.at() != end)
        in.seek(static_cast<size_t>(-1)); // the packed size disagrees with the cells
    return p;
}

XmInfo::Instrument readInstrument(Cursor& in)
{
    const size_t start = in.at();
    const uint32_t size = in.u32();
    in.skip(23);
    XmInfo::Instrument inst;
    inst.samples = in.u16();
    if (inst.samples == 0) {
        in.seek(start + size);
        return inst;
    }
    in.u32();
    in.skip(96 + 48 + 48);
    inst.volumePoints = in.u8(), inst.panningPoints = in.u8();
    in.skip(6);
    inst.volumeType = in.u8(), inst.panningType = in.u8();
    in.skip(4);
    inst.fadeout = in.u16();
    in.seek(start + size);
    inst.length = in.u32(), inst.loopStart = in.u32(), inst.loopLength = in.u32();
    inst.volume = in.u8();
    in.u8();
    inst.type = in.u8();
    in.u8();
    inst.relativeNote = static_cast<int8_t>(in.u8());
    in.skip(23);
    in.skip(40 * (inst.samples - 1));
    int16_t value = 0;
    const bool wide = inst.type & 0x10;
    for (unsigned i = 0; i < (wide ? inst.length / 2 : inst.length); ++i) {
        value = static_cast<int16_t>(
            value + (wide ? static_cast<int16_t>(in.u16()) : static_cast<int8_t>(in.u8()) * 256));
        inst.data.push_back(value);
    }
    return inst;
}

} // namespace

std::optional<XmInfo> parseXm(const std::vector<uint8_t>& bytes, std::string& problem)
{
    if (bytes.size() < 80 || std::memcmp(bytes.data(), "Extended Module: ", 17) != 0) {
        problem = "no XM signature";
        return std::nullopt;
    }
    Cursor in(bytes);
    in.seek(58);
    XmInfo xm;
    if (in.u16() != 0x0104) {
        problem = "not version 1.04";
        return std::nullopt;
    }
    const uint32_t headerSize = in.u32();
    xm.songLength = in.u16(), xm.restart = in.u16(), xm.channels = in.u16();
    xm.patternCount = in.u16(), xm.instrumentCount = in.u16(), xm.flags = in.u16();
    xm.speed = in.u16(), xm.bpm = in.u16();
    for (int i = 0; i < 256; ++i)
        xm.orders.push_back(in.u8());
    xm.orders.resize(xm.songLength < 256 ? xm.songLength : 256);
    in.seek(60 + headerSize);
    for (unsigned i = 0; i < xm.patternCount && in.ok(); ++i)
        xm.patterns.push_back(readPattern(in, xm.channels));
    for (unsigned i = 0; i < xm.instrumentCount && in.ok(); ++i)
        xm.instruments.push_back(readInstrument(in));
    if (!in.ok() || in.at() != bytes.size()) {
        problem = in.ok() ? "bytes left over after the last instrument"
                          : "the module is cut short or inconsistent";
        return std::nullopt;
    }
    return xm;
}

double xmSeconds(const XmInfo& xm)
{
    double seconds = 0;
    unsigned speed = xm.speed, bpm = xm.bpm;
    for (unsigned order : xm.orders) {
        const XmInfo::Pattern& p = xm.patterns.at(order);
        for (unsigned row = 0; row < p.rows; ++row) {
            bool broken = false;
            for (unsigned c = 0; c < xm.channels; ++c) {
                const XmInfo::Cell& cell = p.cells[row * xm.channels + c];
                if (cell.effect == 15 && cell.param)
                    (cell.param < 32 ? speed : bpm) = cell.param;
                broken = broken || cell.effect == 13;
            }
            seconds += speed * 2.5 / bpm;
            if (broken)
                break;
        }
    }
    return seconds;
}
