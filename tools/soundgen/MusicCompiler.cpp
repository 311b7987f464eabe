// SPDX-License-Identifier: GPL-3.0-or-later
#include "MusicCompiler.h"

#include "InstrumentSynth.h"
#include "Notation.h"
#include "PatternWriter.h"

#include <algorithm>
#include <map>

namespace soundgen {

namespace {

int intIn(const SourceText& text, const SourceLine& line, size_t word, int low, int high)
{
    bool ok = word < line.words.size();
    const double value = ok ? parseNumber(line.words[word], ok) : 0;
    if (!ok || value < low || value > high || value != static_cast<int>(value))
        text.fail(line, "\"" + line.words[0] + "\" needs a whole number from " +
                            std::to_string(low) + " to " + std::to_string(high));
    return static_cast<int>(value);
}

std::string joinedFrom(const SourceLine& line, size_t first)
{
    std::string out;
    for (size_t i = first; i < line.words.size(); ++i)
        out += (out.empty() ? "" : " ") + line.words[i];
    return out;
}

unsigned seedOf(const std::string& name)
{
    unsigned hash = 2166136261u;
    for (char c : name)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

XmEnvelope parseEnvelope(const SourceText& text, const SourceLine& line, const std::string& points)
{
    XmEnvelope envelope;
    size_t at = 0;
    while (at < points.size()) {
        size_t comma = points.find(',', at);
        const std::string point =
            points.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        const size_t colon = point.find(':');
        bool okTick = false, okValue = false;
        const double tick =
            colon == std::string::npos ? 0 : parseNumber(point.substr(0, colon), okTick);
        const double value =
            colon == std::string::npos ? 0 : parseNumber(point.substr(colon + 1), okValue);
        if (!okTick || !okValue || value < 0 || value > 64 || tick < 0 ||
            (!envelope.points.empty() && tick <= envelope.points.back().tick))
            text.fail(line, "envelope point \"" + point +
                                "\" is not tick:value (rising ticks, values 0..64)");
        envelope.points.push_back({static_cast<uint16_t>(tick), static_cast<uint16_t>(value)});
        at = comma == std::string::npos ? points.size() : comma + 1;
    }
    if (envelope.points.size() < 2 || envelope.points.size() > 12)
        text.fail(line, "an envelope needs 2 to 12 points");
    return envelope;
}

void parseEnvelopeMarks(const SourceText& text, const SourceLine& line, const Options& o,
                        const std::string& prefix, XmEnvelope& envelope)
{
    const int last = static_cast<int>(envelope.points.size()) - 1;
    if (o.has(prefix + "sus")) {
        envelope.sustain = static_cast<int>(o.number(prefix + "sus", 0));
        if (envelope.sustain < 0 || envelope.sustain > last)
            text.fail(line, prefix + "sus names no point of the envelope");
    }
    const std::string loop = o.word(prefix + "loop", "");
    if (!loop.empty()) {
        const size_t dash = loop.find('-');
        bool okA = false, okB = false;
        const double a = dash == std::string::npos ? 0 : parseNumber(loop.substr(0, dash), okA);
        const double b = dash == std::string::npos ? 0 : parseNumber(loop.substr(dash + 1), okB);
        if (!okA || !okB || a < 0 || b < a || b > last)
            text.fail(line, prefix + "loop needs first-last point numbers, like 1-3");
        envelope.loopStart = static_cast<int>(a), envelope.loopEnd = static_cast<int>(b);
    }
}

void parseVibrato(const SourceText& text, const SourceLine& line, const std::string& value,
                  XmInstrument& in)
{
    int parts[4] = {0, 0, 0, 0};
    size_t at = 0;
    for (int& part : parts) {
        const size_t comma = value.find(',', at);
        bool ok = false;
        part = static_cast<int>(parseNumber(value.substr(at, comma - at), ok));
        if (!ok || part < 0 || part > 255)
            text.fail(line, "vib needs type,sweep,depth,rate");
        at = comma == std::string::npos ? value.size() : comma + 1;
    }
    in.vibratoType = static_cast<uint8_t>(parts[0]),
    in.vibratoSweep = static_cast<uint8_t>(parts[1]);
    in.vibratoDepth = static_cast<uint8_t>(parts[2]),
    in.vibratoRate = static_cast<uint8_t>(parts[3]);
}

XmInstrument parseInstrument(const SourceText& text, const SourceLine& line)
{
    if (line.words.size() < 3)
        text.fail(line, "instrument needs a name and a kind");
    InstrumentRecipe recipe;
    recipe.name = line.words[1];
    if (!instrumentKindNamed(line.words[2], recipe.kind))
        text.fail(line, "unknown instrument kind \"" + line.words[2] + "\"");
    const Options o(text, line, 3);
    recipe.baseOctave = static_cast<int>(std::clamp(o.number("base", 4), 1.0, 7.0));
    recipe.bright = o.number("bright", 0.5);
    recipe.decay = std::clamp(o.number("decay", isDrum(recipe.kind) ? 0.3 : 0.6), 0.02, 4.0);
    recipe.pitch = o.number("pitch", 0);
    recipe.seed = seedOf(recipe.name);

    XmInstrument in;
    in.name = recipe.name;
    in.sample = synthesizeSample(recipe);
    in.sample.volume = static_cast<uint8_t>(std::clamp(o.number("vol", 48), 0.0, 64.0));
    in.sample.panning = static_cast<uint8_t>(std::clamp(o.number("pan", 128), 0.0, 255.0));
    in.fadeout = static_cast<uint16_t>(std::clamp(o.number("fade", 0), 0.0, 4095.0));
    if (o.has("venv")) {
        in.volumeEnvelope = parseEnvelope(text, line, o.word("venv", ""));
        parseEnvelopeMarks(text, line, o, "v", in.volumeEnvelope);
    } else if (isDrum(recipe.kind)) {
        // a drum fades on its own; the envelope only makes sure a long one dies away
        in.volumeEnvelope.points = {{0, 64}, {4, 60}, {64, 0}};
    }
    if (o.has("penv")) {
        in.panningEnvelope = parseEnvelope(text, line, o.word("penv", ""));
        parseEnvelopeMarks(text, line, o, "p", in.panningEnvelope);
    }
    if (o.has("vib"))
        parseVibrato(text, line, o.word("vib", ""), in);
    o.rejectUnused();
    return in;
}

class ScoreCompiler {
public:
    explicit ScoreCompiler(const SourceText& text) : m_text(text) {}

    XmModule run()
    {
        const auto& lines = m_text.lines();
        for (size_t i = 0; i < lines.size(); ++i)
            i = topLevel(lines, i);
        if (m_orderNames.empty())
            throw SourceError("the score has no order line");
        if (m_orderNames.size() > 256)
            m_text.fail(m_orderNames[256].second, "the order list holds at most 256 patterns");
        for (const auto& [name, lineNumber] : m_orderNames) {
            auto it = m_patternIndex.find(name);
            if (it == m_patternIndex.end())
                m_text.fail(lineNumber, "order names the unknown pattern \"" + name + "\"");
            m_module.orders.push_back(static_cast<uint8_t>(it->second));
        }
        if (m_module.restart >= static_cast<int>(m_module.orders.size()))
            throw SourceError("restart lies beyond the order list");
        return std::move(m_module);
    }

private:
    // Handles the line at index i; returns the index of the last line it used.
    size_t topLevel(const std::vector<SourceLine>& lines, size_t i)
    {
        const SourceLine& line = lines[i];
        const std::string& key = line.words[0];
        if (key == "title") {
            m_module.name = joinedFrom(line, 1);
            if (m_module.name.size() > 20)
                m_text.fail(line, "a title holds at most 20 characters");
        } else if (key == "channels")
            m_module.channels = intIn(m_text, line, 1, 1, 32);
        else if (key == "speed")
            m_module.speed = intIn(m_text, line, 1, 1, 31);
        else if (key == "bpm")
            m_module.bpm = intIn(m_text, line, 1, 32, 255);
        else if (key == "restart")
            m_module.restart = intIn(m_text, line, 1, 0, 255);
        else if (key == "instrument")
            addInstrument(line);
        else if (key == "phrase")
            addPhrase(line);
        else if (key == "order")
            for (size_t w = 1; w < line.words.size(); ++w)
                m_orderNames.emplace_back(line.words[w], line.number);
        else if (key == "pattern")
            return readPattern(lines, i);
        else
            m_text.fail(line, "unknown line \"" + key + "\"");
        return i;
    }

    void addInstrument(const SourceLine& line)
    {
        XmInstrument in = parseInstrument(m_text, line);
        if (m_instruments.count(in.name))
            m_text.fail(line, "instrument \"" + in.name + "\" is defined twice");
        if (m_module.instruments.size() >= 128)
            m_text.fail(line, "more than 128 instruments");
        m_module.instruments.push_back(std::move(in));
        m_instruments[m_module.instruments.back().name] =
            static_cast<int>(m_module.instruments.size());
    }

    void addPhrase(const SourceLine& line)
    {
        if (line.words.size() < 3)
            m_text.fail(line, "phrase needs a name and tokens");
        auto& tokens = m_phrases[line.words[1]];
        tokens.insert(tokens.end(), line.words.begin() + 2, line.words.end());
    }

    size_t readPattern(const std::vector<SourceLine>& lines, size_t i)
    {
        const SourceLine& head = lines[i];
        if (head.words.size() < 2)
            m_text.fail(head, "pattern needs a name");
        const std::string name = head.words[1];
        const int rows = head.words.size() > 2 ? intIn(m_text, head, 2, 1, 256) : 64;
        if (m_patternIndex.count(name))
            m_text.fail(head, "pattern \"" + name + "\" is defined twice");
        if (m_module.patterns.size() >= 255)
            m_text.fail(head, "more than 255 patterns");
        PatternWriter writer(m_text, name, rows, m_module.channels, m_instruments, m_phrases,
                             m_module.instruments);
        for (++i; i < lines.size() && lines[i].words[0] != "end"; ++i)
            writer.addLine(lines[i]);
        if (i == lines.size())
            m_text.fail(head, "pattern \"" + name + "\" has no end line");
        m_patternIndex[name] = static_cast<int>(m_module.patterns.size());
        m_module.patterns.push_back(writer.finish());
        return i;
    }

    const SourceText& m_text;
    XmModule m_module;
    std::map<std::string, int> m_instruments;
    std::map<std::string, std::vector<std::string>> m_phrases;
    std::map<std::string, int> m_patternIndex;
    std::vector<std::pair<std::string, int>> m_orderNames;
};

} // namespace

XmModule compileScore(const SourceText& score)
{
    return ScoreCompiler(score).run();
}

double songSeconds(const XmModule& m)
{
    double seconds = 0;
    int speed = m.speed, bpm = m.bpm;
    for (size_t order = 0; order < m.orders.size(); ++order) {
        const XmPattern& p = m.patterns.at(m.orders[order]);
        for (int row = 0; row < p.rows; ++row) {
            bool broken = false;
            for (int c = 0; c < m.channels; ++c) {
                const XmCell& cell = p.at(row, c, m.channels);
                if (cell.effect == 15 && cell.param > 0)
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

} // namespace soundgen
