// SPDX-License-Identifier: GPL-3.0-or-later
#include "PatternWriter.h"

#include <algorithm>
#include <cctype>

namespace soundgen {

namespace {

constexpr int kDefaultRows = 4;
constexpr int kDrumNote = 49; // C-4: a drum sample at its own rate

bool isOption(const std::string& word)
{
    return word.size() > 1 && word.find('=') != std::string::npos;
}

// Every tone folded into the octave above base, so that changing chords moves each voice
// as little as possible; with fewer voices than tones the fifth goes first, then the ninth.
std::vector<int> closeVoicing(const Chord& chord, int base, int voices)
{
    static const int priority[] = {0, 1, 3, 2, 4};
    std::vector<int> chosen;
    const int n = static_cast<int>(chord.intervals.size());
    for (int index : priority) {
        if (index >= n || static_cast<int>(chosen.size()) >= std::min(voices, n))
            continue;
        int note = base;
        while ((note - 1) % 12 != (chord.root + chord.intervals[index]) % 12)
            ++note;
        chosen.push_back(note);
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

} // namespace

PatternWriter::PatternWriter(const SourceText& text, std::string name, int rows, int channels,
                             const std::map<std::string, int>& instruments,
                             const std::map<std::string, std::vector<std::string>>& phrases,
                             const std::vector<XmInstrument>& instrumentList)
    : m_text(text), m_name(std::move(name)), m_channels(channels), m_instruments(instruments),
      m_phrases(phrases), m_instrumentList(instrumentList)
{
    m_pattern.name = m_name;
    m_pattern.rows = rows;
    m_pattern.cells.resize(static_cast<size_t>(rows) * channels);
}

void PatternWriter::addLine(const SourceLine& line)
{
    const std::string& key = line.words[0];
    if (key == "notes")
        notesLine(line);
    else if (key == "figure")
        figureLine(line);
    else if (key == "chord")
        chordLine(line);
    else if (key == "drums")
        drumsLine(line);
    else if (key == "at")
        m_atLines.push_back(line);
    else
        m_text.fail(line,
                    "unknown pattern line \"" + key + "\" (notes, figure, chord, drums, at, end)");
}

XmPattern PatternWriter::finish()
{
    // global effects go last, into whichever channel still has its effect column free
    for (const SourceLine& line : m_atLines)
        atLine(line);
    return std::move(m_pattern);
}

void PatternWriter::expandInto(const SourceLine& line, const std::string& word, int depth,
                               std::vector<std::string>& out) const
{
    if (word.empty() || word[0] != '$') {
        out.push_back(word);
        return;
    }
    auto it = m_phrases.find(word.substr(1));
    if (it == m_phrases.end())
        m_text.fail(line, "unknown phrase \"" + word + "\"");
    if (depth > 8)
        m_text.fail(line, "phrases nest too deep (does \"" + word + "\" name itself?)");
    for (const std::string& inner : it->second)
        expandInto(line, inner, depth + 1, out);
}

std::vector<std::string> PatternWriter::expand(const SourceLine& line, size_t firstWord) const
{
    std::vector<std::string> out;
    for (size_t i = firstWord; i < line.words.size(); ++i)
        expandInto(line, line.words[i], 0, out);
    return out;
}

std::vector<PatternWriter::Timed>
PatternWriter::timeline(const SourceLine& line, const std::vector<std::string>& words) const
{
    std::vector<Timed> out;
    int row = 0, rows = kDefaultRows;
    for (const std::string& word : words) {
        std::string problem;
        auto token = parseToken(word, problem);
        if (!token)
            m_text.fail(line, problem);
        rows = token->rows > 0 ? token->rows : rows;
        token->rows = rows;
        out.push_back({*token, row});
        row += rows;
    }
    if (row != m_pattern.rows)
        m_text.fail(line, "the line lasts " + std::to_string(row) + " rows, pattern \"" + m_name +
                              "\" has " + std::to_string(m_pattern.rows));
    return out;
}

int PatternWriter::channelOf(const SourceLine& line, const std::string& word) const
{
    bool ok = false;
    const double c = parseNumber(word, ok);
    if (!ok || c < 1 || c > m_channels || c != static_cast<int>(c))
        m_text.fail(line, "\"" + word + "\" is no channel from 1 to " + std::to_string(m_channels));
    return static_cast<int>(c) - 1;
}

int PatternWriter::instrumentOf(const SourceLine& line, const std::string& word) const
{
    auto it = m_instruments.find(word);
    if (it == m_instruments.end())
        m_text.fail(line, "unknown instrument \"" + word + "\"");
    return it->second;
}

int PatternWriter::noteOf(const SourceLine& line, const std::string& word) const
{
    auto note = parseNoteName(word);
    if (!note)
        m_text.fail(line, "\"" + word + "\" is no note from c0 to b7");
    return *note;
}

void PatternWriter::putNote(const SourceLine& line, int row, int channel, int note, int instrument,
                            int volume)
{
    XmCell& cell = m_pattern.at(row, channel, m_channels);
    if (cell.note || cell.volume)
        m_text.fail(line, "pattern \"" + m_name + "\" channel " + std::to_string(channel + 1) +
                              " row " + std::to_string(row) + " already has a note");
    cell.note = static_cast<uint8_t>(note);
    cell.instrument = note == kKeyOff ? 0 : static_cast<uint8_t>(instrument);
    if (volume >= 0)
        cell.volume = static_cast<uint8_t>(0x10 + volume);
}

void PatternWriter::putEffect(const SourceLine& line, int row, int channel, uint8_t effect,
                              uint8_t param)
{
    XmCell& cell = m_pattern.at(row, channel, m_channels);
    if (cell.hasEffect())
        m_text.fail(line, "pattern \"" + m_name + "\" channel " + std::to_string(channel + 1) +
                              " row " + std::to_string(row) + " already has an effect");
    cell.effect = effect, cell.param = param;
}

void PatternWriter::putTokenEffect(const SourceLine& line, const Timed& t, int channel)
{
    if (!t.token.hasEffect)
        return;
    const int rows = t.token.effectEveryRow ? t.token.rows : 1;
    for (int r = 0; r < rows; ++r)
        putEffect(line, t.row + r, channel, t.token.effect, t.token.param);
}

// notes CH INSTRUMENT tokens: a melody line of note names, "-" (let ring) and "=" (key off).
void PatternWriter::notesLine(const SourceLine& line)
{
    if (line.words.size() < 4)
        m_text.fail(line, "notes needs a channel, an instrument and tokens");
    const int channel = channelOf(line, line.words[1]);
    const int instrument = instrumentOf(line, line.words[2]);
    for (const Timed& t : timeline(line, expand(line, 3))) {
        if (t.token.head == "=")
            putNote(line, t.row, channel, kKeyOff, 0, t.token.volume);
        else if (t.token.head != "-")
            putNote(line, t.row, channel, noteOf(line, t.token.head), instrument, t.token.volume);
        else if (t.token.volume >= 0)
            m_text.fail(line, "a rest cannot carry a volume; use an effect");
        putTokenEffect(line, t, channel);
    }
}

std::vector<std::pair<Chord, int>>
PatternWriter::chordTimeline(const SourceLine& line, const std::vector<Timed>& timed) const
{
    // each row's chord; rows before the first chord get none (root -1)
    std::vector<std::pair<Chord, int>> perRow(m_pattern.rows, {Chord{}, -1});
    for (const Timed& t : timed) {
        if (t.token.head == "=")
            std::fill(perRow.begin() + t.row, perRow.end(), std::make_pair(Chord{}, -1));
        if (t.token.head == "-" || t.token.head == "=")
            continue;
        auto chord = parseChord(t.token.head);
        if (!chord)
            m_text.fail(line, "\"" + t.token.head + "\" is no chord symbol");
        for (int r = t.row; r < m_pattern.rows; ++r)
            perRow[r] = {*chord, t.row};
    }
    return perRow;
}

// figure CH INSTRUMENT BASE STEP SHAPE [vol=V] [swing=T] [arp=on] chords: plays the chord tones in
// the order the shape gives (1 the root, 2 the next tone up, ...; past the last tone an octave
// higher), one shape symbol every STEP rows; "-" lets the last note ring, "=" keys it off.
void PatternWriter::figureLine(const SourceLine& line)
{
    if (line.words.size() < 7)
        m_text.fail(
            line, "figure needs a channel, an instrument, a base note, a step, a shape and chords");
    const int channel = channelOf(line, line.words[1]);
    const int instrument = instrumentOf(line, line.words[2]);
    const int base = noteOf(line, line.words[3]);
    bool ok = false;
    const int step = static_cast<int>(parseNumber(line.words[4], ok));
    if (!ok || step < 1)
        m_text.fail(line, "the figure step must be a whole number of rows");
    const std::string shape = line.words[5];
    auto words = expand(line, 6);
    const LineOptions options = readOptions(line, words);
    const auto timed = timeline(line, words);
    const auto chords = chordTimeline(line, timed);
    if (options.arp)
        putArpeggios(line, channel, chords);
    for (int row = 0; row < m_pattern.rows; row += step) {
        const char symbol = shape[(row / step) % shape.size()];
        if (symbol == '-' || chords[row].second < 0)
            continue;
        if (symbol == '=') {
            putNote(line, row, channel, kKeyOff, 0, -1);
            continue;
        }
        if (symbol < '1' || symbol > '9')
            m_text.fail(line,
                        std::string("figure shape symbol \"") + symbol + "\" is not 1-9, - or =");
        const auto tones = chordTonesFrom(chords[row].first, base);
        const int index = symbol - '1';
        const int n = static_cast<int>(tones.size());
        const int note = tones[index % n] + 12 * (index / n);
        putNote(line, row, channel, std::min(note, 96), instrument, options.volume);
        putSwing(line, row, channel, options.swing);
    }
    for (const Timed& t : timed) {
        if (t.token.head == "=")
            putNote(line, t.row, channel, kKeyOff, 0, -1);
        putTokenEffect(line, t, channel);
    }
}

// chord FIRST-LAST INSTRUMENT BASE [strum=T] [vol=V] [rhythm=x.=.] chords: one chord tone per
// channel, voiced upwards from BASE; strum delays each higher voice by T ticks more.
void PatternWriter::chordLine(const SourceLine& line)
{
    if (line.words.size() < 5)
        m_text.fail(line, "chord needs channels FIRST-LAST, an instrument, a base note and chords");
    const std::string& span = line.words[1];
    const size_t dash = span.find('-');
    if (dash == std::string::npos)
        m_text.fail(line, "chord channels are written FIRST-LAST, like 4-6");
    const int firstChannel = channelOf(line, span.substr(0, dash));
    const int lastChannel = channelOf(line, span.substr(dash + 1));
    if (lastChannel < firstChannel)
        m_text.fail(line, "chord channels run backwards");
    const int instrument = instrumentOf(line, line.words[2]);
    const int base = noteOf(line, line.words[3]);
    auto words = expand(line, 4);
    const LineOptions options = readOptions(line, words);
    const int voices = lastChannel - firstChannel + 1;
    const auto timed = timeline(line, words);
    if (!options.rhythm.empty()) {
        rhythmChords(line, firstChannel, voices, instrument, base, options, timed);
        return;
    }
    for (const Timed& t : timed) {
        for (int v = 0; v < voices; ++v) {
            const int channel = firstChannel + v;
            if (t.token.head == "=")
                putNote(line, t.row, channel, kKeyOff, 0, -1);
            putTokenEffect(line, t, channel);
        }
        if (t.token.head == "-" || t.token.head == "=")
            continue;
        auto chord = parseChord(t.token.head);
        if (!chord)
            m_text.fail(line, "\"" + t.token.head + "\" is no chord symbol");
        strikeChord(line, t.row, firstChannel, voices, instrument,
                    closeVoicing(*chord, base, voices),
                    t.token.volume >= 0 ? t.token.volume : options.volume, options.strum);
    }
}

void PatternWriter::strikeChord(const SourceLine& line, int row, int firstChannel, int voices,
                                int instrument, const std::vector<int>& tones, int volume,
                                int strum)
{
    const int n = static_cast<int>(tones.size());
    for (int v = 0; v < voices; ++v) {
        const int note = tones[v % n] + 12 * (v / n);
        putNote(line, row, firstChannel + v, std::min(note, 96), instrument, volume);
        if (strum > 0 && v > 0)
            putEffect(line, row, firstChannel + v, 14,
                      static_cast<uint8_t>(0xD0 | std::min(15, v * strum)));
    }
}

// With a rhythm the chord tokens only say which chord sounds; "x" strikes it, "=" keys it off.
void PatternWriter::rhythmChords(const SourceLine& line, int firstChannel, int voices,
                                 int instrument, int base, const LineOptions& options,
                                 const std::vector<Timed>& timed)
{
    const auto chords = chordTimeline(line, timed);
    for (int row = 0; row < m_pattern.rows; ++row) {
        const char symbol = options.rhythm[row % options.rhythm.size()];
        if (symbol == '.' || chords[row].second < 0)
            continue;
        if (symbol != 'x' && symbol != '=')
            m_text.fail(line, std::string("rhythm symbol \"") + symbol + "\" is not x, = or .");
        if (symbol == 'x')
            strikeChord(line, row, firstChannel, voices, instrument,
                        closeVoicing(chords[row].first, base, voices), options.volume,
                        options.strum);
        else
            for (int v = 0; v < voices; ++v)
                putNote(line, row, firstChannel + v, kKeyOff, 0, -1);
    }
    for (const Timed& t : timed)
        for (int v = 0; v < voices; ++v) {
            if (t.token.head == "=")
                putNote(line, t.row, firstChannel + v, kKeyOff, 0, -1);
            putTokenEffect(line, t, firstChannel + v);
        }
}

PatternWriter::LineOptions PatternWriter::readOptions(const SourceLine& line,
                                                      std::vector<std::string>& words) const
{
    LineOptions o;
    size_t first = 0;
    for (; first < words.size() && isOption(words[first]); ++first) {
        const std::string& w = words[first];
        const std::string key = w.substr(0, w.find('=')), value = w.substr(w.find('=') + 1);
        bool ok = true;
        const double number = parseNumber(value, ok);
        if (key == "rhythm")
            o.rhythm = value, ok = !value.empty();
        else if (key == "arp")
            o.arp = value == "on", ok = value == "on" || value == "off";
        else if (key == "strum")
            o.strum = static_cast<int>(number), ok = ok && number >= 0 && number <= 15;
        else if (key == "swing")
            o.swing = static_cast<int>(number), ok = ok && number >= 0 && number <= 15;
        else if (key == "vol")
            o.volume = static_cast<int>(number), ok = ok && number >= 0 && number <= 64;
        else
            ok = false;
        if (!ok)
            m_text.fail(line, "unknown or bad option \"" + w + "\"");
    }
    words.erase(words.begin(), words.begin() + first);
    return o;
}

// Off-beat eighths (the third row of each beat) come late by the swing in ticks.
void PatternWriter::putSwing(const SourceLine& line, int row, int channel, int swing)
{
    if (swing > 0 && row % 4 == 2)
        putEffect(line, row, channel, 14, static_cast<uint8_t>(0xD0 | swing));
}

// Every row that has a chord gets the arpeggio effect through the chord's next two tones.
void PatternWriter::putArpeggios(const SourceLine& line, int channel,
                                 const std::vector<std::pair<Chord, int>>& chords)
{
    for (int row = 0; row < m_pattern.rows; ++row) {
        const auto& [chord, start] = chords[row];
        if (start < 0 || chord.intervals.size() < 3)
            continue;
        const int x = std::min(15, chord.intervals[1]), y = std::min(15, chord.intervals[2]);
        putEffect(line, row, channel, 0, static_cast<uint8_t>(x << 4 | y));
    }
}

// drums CH letter=instrument,... [swing=T] steps: one character a row ("." nothing, a letter its
// drum, upper case accented); the steps repeat to fill the pattern.
void PatternWriter::drumsLine(const SourceLine& line)
{
    if (line.words.size() < 4)
        m_text.fail(line, "drums needs a channel, a map like k=kick,s=snare and steps");
    const int channel = channelOf(line, line.words[1]);
    std::map<char, int> kit;
    const std::string& map = line.words[2];
    for (size_t at = 0; at < map.size();) {
        size_t comma = map.find(',', at);
        const std::string entry =
            map.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        if (entry.size() < 3 || entry[1] != '=' ||
            !std::islower(static_cast<unsigned char>(entry[0])))
            m_text.fail(line, "drum map entry \"" + entry + "\" is not letter=instrument");
        kit[entry[0]] = instrumentOf(line, entry.substr(2));
        at = comma == std::string::npos ? map.size() : comma + 1;
    }
    auto words = expand(line, 3);
    const LineOptions options = readOptions(line, words);
    std::string steps;
    for (const std::string& w : words)
        steps += w;
    if (steps.empty() || static_cast<int>(steps.size()) > m_pattern.rows)
        m_text.fail(line, "drum steps must be 1 to " + std::to_string(m_pattern.rows) + " rows");
    for (int row = 0; row < m_pattern.rows; ++row) {
        const char step = steps[row % steps.size()];
        if (step == '.')
            continue;
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(step)));
        auto it = kit.find(letter);
        if (it == kit.end())
            m_text.fail(line, std::string("drum \"") + step + "\" is not in the map");
        const int volume = m_instrumentList[it->second - 1].sample.volume;
        putNote(line, row, channel, kDrumNote, it->second,
                step == letter ? -1 : std::min(64, volume * 4 / 3));
        putSwing(line, row, channel, options.swing);
    }
}

// at ROW EFFECT: a song-wide effect (tempo, global volume, pattern break) in a free effect column.
void PatternWriter::atLine(const SourceLine& line)
{
    bool ok = line.words.size() == 3;
    const double row = ok ? parseNumber(line.words[1], ok) : 0;
    uint8_t effect = 0, param = 0;
    if (!ok || row < 0 || row >= m_pattern.rows || !parseEffect(line.words[2], effect, param))
        m_text.fail(line, "at needs a row of the pattern and an effect like F06");
    for (int c = m_channels - 1; c >= 0; --c) {
        if (!m_pattern.at(static_cast<int>(row), c, m_channels).hasEffect()) {
            putEffect(line, static_cast<int>(row), c, effect, param);
            return;
        }
    }
    m_text.fail(line,
                "row " + std::to_string(static_cast<int>(row)) + " has no free effect column");
}

} // namespace soundgen
