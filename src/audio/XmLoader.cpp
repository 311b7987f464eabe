// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/XmLoader.h"

#include "audio/MemoryReader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kMaxFileChannels = 128;
constexpr int kMaxStoredPatterns = 256;
constexpr int kMaxInstruments = 128;
constexpr int kEmptyPatternRows = 64;

bool readHeader(MemoryReader& in, MusicModule& module)
{
    in.seek(60);
    const std::uint32_t headerSize = in.u32();
    module.songLength = std::clamp<int>(in.u16(), 1, 256);
    module.restartPosition = in.u16();
    if (module.restartPosition >= module.songLength) {
        module.restartPosition = 0;
    }
    module.channels = in.u16();
    module.storedPatterns = in.u16();
    const int instruments = in.u16();
    module.table = (in.u16() & 1) ? FrequencyTable::Linear : FrequencyTable::Amiga;
    module.defaultSpeed = std::min<int>(in.u16(), 31);
    module.defaultBpm = std::clamp<int>(in.u16(), 32, 1000);
    in.read(module.orders.data(), module.orders.size());
    in.seek(60 + std::size_t(headerSize));
    if (module.channels < 1 || module.channels > kMaxFileChannels ||
        module.storedPatterns > kMaxStoredPatterns || instruments > kMaxInstruments) {
        return false;
    }
    module.instruments.resize(instruments);
    return true;
}

XmCell readCell(MemoryReader& in)
{
    XmCell cell;
    const std::uint8_t first = in.u8();
    const unsigned mask = (first & 0x80) ? first : 0x1F;
    if (!(first & 0x80)) {
        cell.note = first;
    } else if (mask & 1) {
        cell.note = in.u8();
    }
    if (mask & 2)
        cell.instrument = in.u8();
    if (mask & 4)
        cell.volume = in.u8();
    if (mask & 8)
        cell.effect = in.u8();
    if (mask & 16)
        cell.param = in.u8();
    if (cell.note == 97) {
        cell.note = 255;
    } else if (cell.note > 97) {
        cell.note = 0;
    }
    if (cell.instrument > 128) {
        cell.instrument = 0;
    }
    return cell;
}

void unpackCells(MemoryReader packed, MusicModule& module, XmPattern& pattern)
{
    const int heard = module.heardChannels();
    for (int row = 0; row < pattern.rows && packed.remaining() > 0; ++row) {
        for (int c = 0; c < module.channels; ++c) {
            const XmCell cell = readCell(packed);
            if (c < heard) {
                pattern.cells[std::size_t(row) * heard + c] = cell;
            }
        }
    }
}

bool readPattern(MemoryReader& in, MusicModule& module, XmPattern& pattern)
{
    in.u32(); // header length, not used to skip
    in.u8();  // packing type
    int rows = in.u16();
    const std::size_t packedSize = in.u16();
    if (rows > MusicModule::kMaxRows) {
        return false;
    }
    pattern.rows = rows == 0 ? kEmptyPatternRows : rows;
    pattern.cells.assign(std::size_t(pattern.rows) * module.heardChannels(), XmCell{});
    if (packedSize != 0) {
        const std::size_t available = std::min(packedSize, in.remaining());
        unpackCells(MemoryReader(in.here(), available), module, pattern);
        in.skip(available);
    }
    return true;
}

bool readPatterns(MemoryReader& in, MusicModule& module)
{
    int count = module.storedPatterns;
    for (int i = 0; i < module.songLength; ++i) {
        count = std::max(count, module.orders[i] + 1);
    }
    module.patterns.resize(count);
    for (int i = 0; i < count; ++i) {
        XmPattern& pattern = module.patterns[i];
        if (i < module.storedPatterns) {
            if (!readPattern(in, module, pattern)) {
                return false;
            }
        } else {
            pattern.rows = kEmptyPatternRows;
            pattern.cells.assign(std::size_t(pattern.rows) * module.heardChannels(), XmCell{});
        }
    }
    return true;
}

void readEnvelopePoints(MemoryReader& in, XmEnvelope& envelope)
{
    for (int p = 0; p < XmEnvelope::kMaxPoints; ++p) {
        envelope.position[p] = in.u16();
        envelope.value[p] = in.u16();
    }
}

void finishEnvelope(XmEnvelope& envelope, int points, int sustain, int loopStart, int loopEnd,
                    int type)
{
    envelope.points = std::min(points, XmEnvelope::kMaxPoints);
    envelope.sustain = sustain;
    envelope.loopStart = loopStart;
    envelope.loopEnd = loopEnd;
    envelope.on = (type & 1) && envelope.points >= 2;
    envelope.sustainOn = (type & 2) && sustain < envelope.points;
    envelope.loopOn = (type & 4) && loopStart < envelope.points && loopEnd < envelope.points &&
                      loopStart <= loopEnd;
    for (int p = 0; p < envelope.points; ++p) {
        envelope.value[p] = std::min<std::uint16_t>(envelope.value[p], 64);
    }
}

void readInstrumentDetails(MemoryReader& in, XmInstrument& instrument)
{
    in.u32(); // sample header size, not used
    in.read(instrument.noteSample.data(), instrument.noteSample.size());
    readEnvelopePoints(in, instrument.volumeEnvelope);
    readEnvelopePoints(in, instrument.panningEnvelope);
    std::uint8_t b[14];
    in.read(b, sizeof b);
    finishEnvelope(instrument.volumeEnvelope, b[0], b[2], b[3], b[4], b[8]);
    finishEnvelope(instrument.panningEnvelope, b[1], b[5], b[6], b[7], b[9]);
    instrument.vibratoType = b[10];
    instrument.vibratoSweep = b[11];
    instrument.vibratoDepth = b[12];
    instrument.vibratoRate = b[13];
    instrument.fadeout = in.u16() * 2;
}

void readSampleHeader(MemoryReader& in, XmSample& sample)
{
    const std::uint32_t length = in.u32();
    const std::uint32_t loopStart = in.u32();
    const std::uint32_t loopLength = in.u32();
    sample.volume = std::min<int>(in.u8(), 64);
    sample.finetune = static_cast<std::int8_t>(in.u8());
    const std::uint8_t type = in.u8();
    sample.panning = in.u8();
    sample.relativeNote = static_cast<std::int8_t>(in.u8());
    in.skip(23);
    sample.sixteenBit = type & 0x10;
    const int loopBits = type & 3;
    sample.loop = loopBits == 2 ? LoopType::PingPong
                  : loopBits    ? LoopType::Forward
                                : LoopType::None;
    // Byte counts until the data is read; clamped to the file there.
    sample.length = static_cast<std::int32_t>(std::min<std::uint32_t>(length, 0x7FFFFFFF));
    sample.loopStart = static_cast<std::int32_t>(std::min<std::uint32_t>(loopStart, 0x7FFFFFFF));
    sample.loopLength = static_cast<std::int32_t>(std::min<std::uint32_t>(loopLength, 0x7FFFFFFF));
}

void settleLoop(XmSample& sample)
{
    sample.loopStart = std::min(sample.loopStart, sample.length);
    sample.loopLength = std::min(sample.loopLength, sample.length - sample.loopStart);
    if (sample.loop == LoopType::None || sample.loopLength == 0) {
        sample.loop = LoopType::None;
        sample.loopStart = 0;
        sample.loopLength = sample.length;
    }
}

void writeGuard(XmSample& sample)
{
    const std::int32_t end = sample.loopEnd();
    std::int16_t guard = 0;
    if (sample.loop == LoopType::Forward) {
        guard = sample.data[sample.loopStart];
    } else if (end > 0) {
        guard = sample.data[end - 1];
    }
    sample.data[end] = guard;
}

void readSampleData(MemoryReader& in, XmSample& sample)
{
    const std::size_t bytes = std::min<std::size_t>(std::size_t(sample.length), in.remaining());
    const int width = sample.sixteenBit ? 2 : 1;
    sample.length = static_cast<std::int32_t>(bytes / width);
    if (sample.sixteenBit) {
        sample.loopStart /= 2;
        sample.loopLength /= 2;
    }
    settleLoop(sample);
    sample.data.assign(std::size_t(sample.length) + 1, 0);
    std::int16_t value = 0;
    for (std::int32_t i = 0; i < sample.length; ++i) {
        const std::uint16_t delta = sample.sixteenBit ? in.u16() : std::uint16_t(in.u8() << 8);
        value = static_cast<std::int16_t>(std::uint16_t(value) + delta);
        sample.data[i] = value;
    }
    in.skip(bytes % width);
    writeGuard(sample);
}

bool readInstrument(MemoryReader& in, XmInstrument& instrument)
{
    const std::size_t start = in.position();
    const std::uint32_t headerSize = in.u32();
    in.skip(23);
    const int samples = in.u16();
    if (samples > XmInstrument::kMaxSamples) {
        return false;
    }
    if (samples > 0) {
        readInstrumentDetails(in, instrument);
    }
    in.seek(std::max(start + headerSize, in.position()));
    instrument.samples.resize(samples);
    for (XmSample& sample : instrument.samples) {
        readSampleHeader(in, sample);
    }
    for (XmSample& sample : instrument.samples) {
        readSampleData(in, sample);
    }
    return true;
}

} // namespace

std::unique_ptr<MusicModule> loadXmModule(const std::uint8_t* bytes, std::size_t size,
                                          int globalVolume)
{
    static constexpr char kMagic[] = "Extended Module: ";
    if (bytes == nullptr || size < 17 || std::memcmp(bytes, kMagic, 17) != 0) {
        return nullptr;
    }
    auto module = std::make_unique<MusicModule>();
    module->startingGlobalVolume = globalVolume;
    module->emptySample.data.assign(1, 0);
    MemoryReader in(bytes, size);
    if (!readHeader(in, *module) || !readPatterns(in, *module)) {
        return nullptr;
    }
    for (XmInstrument& instrument : module->instruments) {
        if (!readInstrument(in, instrument)) {
            return nullptr;
        }
    }
    return module;
}

int samplesPerTickFor(int bpm)
{
    const double bpmTimesTwoFifths = (bpm + bpm) / 5.0;
    return std::max(1, static_cast<int>(44100.0 * (1000.0 / bpmTimesTwoFifths) / 1000.0));
}
