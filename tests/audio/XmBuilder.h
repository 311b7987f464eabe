// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Writes small XM modules for the tests, the benchmark and the fuzz seeds.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct XmBuilder {
    struct Cell {
        std::uint8_t note = 0, instrument = 0, volume = 0, effect = 0, param = 0;
    };
    struct Pattern {
        int rows = 64;
        std::vector<Cell> cells;
    };
    struct Envelope {
        std::vector<std::pair<int, int>> points; // position, value
        int sustain = 0, loopStart = 0, loopEnd = 0;
        int type = 0; // 1 on, 2 sustain, 4 loop
    };
    struct Sample {
        std::vector<std::int16_t> data;
        bool sixteenBit = true;
        int loopStart = 0, loopLength = 0, loopType = 0;
        int volume = 64, finetune = 0, panning = 128, relativeNote = 0;
    };
    struct Instrument {
        std::vector<Sample> samples;
        std::array<std::uint8_t, 96> noteSample{};
        Envelope volume, panning;
        int vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
        int fadeout = 0;
    };

    int channels = 1;
    int speed = 6;
    int bpm = 125;
    bool linear = true;
    int restart = 0;
    std::vector<int> orders{0};
    std::vector<Pattern> patterns;
    std::vector<Instrument> instruments;

    XmBuilder() = default;
    explicit XmBuilder(int channelCount) : channels(channelCount) {}

    Pattern& addPattern(int rows = 64)
    {
        patterns.push_back(Pattern{rows, std::vector<Cell>(std::size_t(rows) * channels)});
        return patterns.back();
    }
    Cell& cell(int pattern, int row, int channel)
    {
        return patterns[pattern].cells[std::size_t(row) * channels + channel];
    }
    // A looping sine of the given period in samples (16-bit, one cycle per loop).
    static Sample sineSample(int period = 64, int cycles = 1, double amplitude = 30000)
    {
        Sample s;
        for (int i = 0; i < period * cycles; ++i) {
            s.data.push_back(
                std::int16_t(std::lround(amplitude * std::sin(2 * M_PI * i / period))));
        }
        s.loopStart = 0;
        s.loopLength = int(s.data.size());
        s.loopType = 1;
        return s;
    }
    Instrument& addInstrument(const Sample& sample)
    {
        instruments.push_back(Instrument{});
        instruments.back().samples.push_back(sample);
        return instruments.back();
    }

    std::vector<std::uint8_t> build() const
    {
        std::vector<std::uint8_t> out;
        header(out);
        for (const Pattern& p : patterns) {
            pattern(out, p);
        }
        for (const Instrument& i : instruments) {
            instrument(out, i);
        }
        return out;
    }

private:
    static void put8(std::vector<std::uint8_t>& o, int v) { o.push_back(std::uint8_t(v)); }
    static void put16(std::vector<std::uint8_t>& o, int v)
    {
        put8(o, v & 255);
        put8(o, (v >> 8) & 255);
    }
    static void put32(std::vector<std::uint8_t>& o, std::uint32_t v)
    {
        put16(o, int(v & 0xFFFF));
        put16(o, int(v >> 16));
    }
    static void text(std::vector<std::uint8_t>& o, const std::string& s, std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i) {
            put8(o, i < s.size() ? s[i] : 0);
        }
    }

    void header(std::vector<std::uint8_t>& o) const
    {
        text(o, "Extended Module: ", 17);
        text(o, "test", 20);
        put8(o, 0x1A);
        text(o, "builder", 20);
        put16(o, 0x0104);
        put32(o, 276);
        put16(o, int(orders.size()));
        put16(o, restart);
        put16(o, channels);
        put16(o, int(patterns.size()));
        put16(o, int(instruments.size()));
        put16(o, linear ? 1 : 0);
        put16(o, speed);
        put16(o, bpm);
        for (int i = 0; i < 256; ++i) {
            put8(o, i < int(orders.size()) ? orders[i] : 0);
        }
    }

    void pattern(std::vector<std::uint8_t>& o, const Pattern& p) const
    {
        std::vector<std::uint8_t> packed;
        for (const Cell& c : p.cells) {
            put8(packed, c.note == 255 ? 97 : c.note);
            put8(packed, c.instrument);
            put8(packed, c.volume);
            put8(packed, c.effect);
            put8(packed, c.param);
        }
        put32(o, 9);
        put8(o, 0);
        put16(o, p.rows);
        put16(o, int(packed.size()));
        o.insert(o.end(), packed.begin(), packed.end());
    }

    static void envelope(std::vector<std::uint8_t>& o, const Envelope& e)
    {
        for (int i = 0; i < 12; ++i) {
            const bool has = i < int(e.points.size());
            put16(o, has ? e.points[i].first : 0);
            put16(o, has ? e.points[i].second : 0);
        }
    }

    static void instrument(std::vector<std::uint8_t>& o, const Instrument& ins)
    {
        const bool any = !ins.samples.empty();
        put32(o, any ? 263 : 29);
        text(o, "ins", 22);
        put8(o, 0);
        put16(o, int(ins.samples.size()));
        if (any) {
            put32(o, 40);
            o.insert(o.end(), ins.noteSample.begin(), ins.noteSample.end());
            envelope(o, ins.volume);
            envelope(o, ins.panning);
            put8(o, int(ins.volume.points.size()));
            put8(o, int(ins.panning.points.size()));
            put8(o, ins.volume.sustain);
            put8(o, ins.volume.loopStart);
            put8(o, ins.volume.loopEnd);
            put8(o, ins.panning.sustain);
            put8(o, ins.panning.loopStart);
            put8(o, ins.panning.loopEnd);
            put8(o, ins.volume.type);
            put8(o, ins.panning.type);
            put8(o, ins.vibratoType);
            put8(o, ins.vibratoSweep);
            put8(o, ins.vibratoDepth);
            put8(o, ins.vibratoRate);
            put16(o, ins.fadeout);
            text(o, "", 22); // reserved, pads the header to 263 bytes
        }
        for (const Sample& s : ins.samples) {
            const int width = s.sixteenBit ? 2 : 1;
            put32(o, std::uint32_t(s.data.size() * width));
            put32(o, std::uint32_t(s.loopStart * width));
            put32(o, std::uint32_t(s.loopLength * width));
            put8(o, s.volume);
            put8(o, s.finetune);
            put8(o, s.loopType | (s.sixteenBit ? 0x10 : 0));
            put8(o, s.panning);
            put8(o, s.relativeNote);
            put8(o, 0);
            text(o, "smp", 22);
        }
        for (const Sample& s : ins.samples) {
            int previous = 0;
            for (std::int16_t v : s.data) {
                if (s.sixteenBit) {
                    put16(o, (v - previous) & 0xFFFF);
                    previous = v;
                } else {
                    const int b = v >> 8;
                    put8(o, (b - previous) & 0xFF);
                    previous = b;
                }
            }
        }
    }
};
