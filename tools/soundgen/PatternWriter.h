// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Notation.h"
#include "SourceText.h"
#include "XmModule.h"

#include <map>
#include <string>
#include <vector>

namespace soundgen {

// Fills one pattern from the lines between "pattern" and "end": notes, figure, chord,
// drums and at. Two lines writing the same cell field is an error, not a silent overwrite.
class PatternWriter {
public:
    PatternWriter(const SourceText& text, std::string name, int rows, int channels,
                  const std::map<std::string, int>& instruments,
                  const std::map<std::string, std::vector<std::string>>& phrases,
                  const std::vector<XmInstrument>& instrumentList);

    void addLine(const SourceLine& line);
    XmPattern finish();

private:
    struct Timed {
        Token token;
        int row = 0;
    };
    struct LineOptions {
        int volume = -1, strum = 0, swing = 0;
        bool arp = false;
        std::string rhythm;
    };

    void notesLine(const SourceLine& line);
    void figureLine(const SourceLine& line);
    void chordLine(const SourceLine& line);
    void drumsLine(const SourceLine& line);
    void atLine(const SourceLine& line);

    std::vector<std::string> expand(const SourceLine& line, size_t firstWord) const;
    void expandInto(const SourceLine& line, const std::string& word, int depth,
                    std::vector<std::string>& out) const;
    std::vector<Timed> timeline(const SourceLine& line,
                                const std::vector<std::string>& words) const;
    std::vector<std::pair<Chord, int>> chordTimeline(const SourceLine& line,
                                                     const std::vector<Timed>& timed) const;
    int channelOf(const SourceLine& line, const std::string& word) const;
    int instrumentOf(const SourceLine& line, const std::string& word) const;
    int noteOf(const SourceLine& line, const std::string& word) const;

    void putNote(const SourceLine& line, int row, int channel, int note, int instrument,
                 int volume);
    void putEffect(const SourceLine& line, int row, int channel, uint8_t effect, uint8_t param);
    void putTokenEffect(const SourceLine& line, const Timed& t, int channel);
    void putSwing(const SourceLine& line, int row, int channel, int swing);
    void putArpeggios(const SourceLine& line, int channel,
                      const std::vector<std::pair<Chord, int>>& chords);
    void strikeChord(const SourceLine& line, int row, int firstChannel, int voices, int instrument,
                     const std::vector<int>& tones, int volume, int strum);
    void rhythmChords(const SourceLine& line, int firstChannel, int voices, int instrument,
                      int base, const LineOptions& options, const std::vector<Timed>& timed);
    // Takes the leading key=value words off the expanded words.
    LineOptions readOptions(const SourceLine& line, std::vector<std::string>& words) const;

    const SourceText& m_text;
    std::string m_name;
    int m_channels;
    const std::map<std::string, int>& m_instruments;
    const std::map<std::string, std::vector<std::string>>& m_phrases;
    const std::vector<XmInstrument>& m_instrumentList;
    XmPattern m_pattern;
    std::vector<SourceLine> m_atLines;
};

} // namespace soundgen
