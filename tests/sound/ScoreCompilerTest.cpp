// SPDX-License-Identifier: GPL-3.0-or-later
#include "MusicCompiler.h"
#include "Notation.h"
#include "audio/XmLoader.h"

#include <gtest/gtest.h>

namespace {

using soundgen::compileScore;
using soundgen::SourceText;
using soundgen::XmCell;
using soundgen::XmModule;

const std::string kHeader = "channels 3\nspeed 6\nbpm 125\n"
                            "instrument lead lead venv=0:64,10:32 vsus=1\n"
                            "instrument kick kick vol=30\n";

XmModule compile(const std::string& body, const std::string& order = "order p\n")
{
    return compileScore(SourceText::fromString("t.txt", kHeader + body + order));
}

const XmCell& cell(const XmModule& m, int row, int channel)
{
    return m.patterns[0].at(row, channel - 1, m.channels);
}

std::string faultOf(const std::string& body, const std::string& order = "order p\n")
{
    try {
        compile(body, order);
    } catch (const soundgen::SourceError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(ScoreNotation, NoteNamesAndChordSymbols)
{
    EXPECT_EQ(soundgen::parseNoteName("c4"), 49);
    EXPECT_EQ(soundgen::parseNoteName("c#5"), 62);
    EXPECT_EQ(soundgen::parseNoteName("bb2"), 35);
    EXPECT_EQ(soundgen::parseNoteName("h4"), std::nullopt);
    EXPECT_EQ(soundgen::parseNoteName("c8"), std::nullopt);
    auto chord = soundgen::parseChord("F#m7");
    ASSERT_TRUE(chord);
    EXPECT_EQ(chord->root, 6);
    EXPECT_EQ(chord->intervals, (std::vector<int>{0, 3, 7, 10}));
    EXPECT_FALSE(soundgen::parseChord("Cx"));
    EXPECT_FALSE(soundgen::parseChord("am"));
    EXPECT_EQ(soundgen::chordTonesFrom(*soundgen::parseChord("Am"), 49),
              (std::vector<int>{58, 61, 65}));
}

TEST(ScoreCompiler, NotesLineWritesNotesKeyOffsVolumesAndEffects)
{
    const XmModule m = compile("pattern p 8\n notes 1 lead c4:2@40 -/A04 = e4*442\nend\n");
    EXPECT_EQ(cell(m, 0, 1).note, 49);
    EXPECT_EQ(cell(m, 0, 1).instrument, 1);
    EXPECT_EQ(cell(m, 0, 1).volume, 0x10 + 40);
    EXPECT_EQ(cell(m, 2, 1).note, 0);
    EXPECT_EQ(cell(m, 2, 1).effect, 10);
    EXPECT_EQ(cell(m, 2, 1).param, 4);
    EXPECT_EQ(cell(m, 4, 1).note, soundgen::kKeyOff);
    EXPECT_EQ(cell(m, 4, 1).instrument, 0);
    for (int row : {6, 7}) {
        EXPECT_EQ(cell(m, row, 1).effect, 4);
        EXPECT_EQ(cell(m, row, 1).param, 0x42);
    }
    EXPECT_EQ(cell(m, 6, 1).note, 53);
}

TEST(ScoreCompiler, FigurePlaysTheChordTonesInTheShapeOrder)
{
    const XmModule m = compile("pattern p 8\n figure 2 lead c4 2 1234 C:4 Am:4\nend\n");
    EXPECT_EQ(cell(m, 0, 2).note, 49); // C4
    EXPECT_EQ(cell(m, 2, 2).note, 53); // E4
    EXPECT_EQ(cell(m, 4, 2).note, 65); // the fifth of A4: E5
    EXPECT_EQ(cell(m, 6, 2).note, 70); // past the triad: A5
    EXPECT_EQ(cell(m, 1, 2).note, 0);
}

TEST(ScoreCompiler, ChordVoicesMoveLittleDropTheFifthAndStrum)
{
    const XmModule m = compile("pattern p 8\n chord 1-3 lead f3 strum=1 Fmaj7:4 Dm7:4\nend\n");
    EXPECT_EQ(cell(m, 0, 1).note, 42); // F3
    EXPECT_EQ(cell(m, 0, 2).note, 46); // A3
    EXPECT_EQ(cell(m, 0, 3).note, 53); // E4
    EXPECT_EQ(cell(m, 0, 1).effect, 0);
    EXPECT_EQ(cell(m, 0, 2).param, 0xD1);
    EXPECT_EQ(cell(m, 0, 3).param, 0xD2);
    EXPECT_EQ(cell(m, 4, 1).note, 42); // F3
    EXPECT_EQ(cell(m, 4, 2).note, 49); // C4
    EXPECT_EQ(cell(m, 4, 3).note, 51); // D4
}

TEST(ScoreCompiler, RhythmChordsArpeggiosDrumsAndSwing)
{
    const XmModule m = compile("pattern p 8\n chord 1-2 lead c4 rhythm=x.=. C:8\n"
                               " figure 3 lead c3 4 1 arp=on Am:8\nend\n");
    EXPECT_EQ(cell(m, 0, 1).note, 49);
    EXPECT_EQ(cell(m, 2, 1).note, soundgen::kKeyOff);
    EXPECT_EQ(cell(m, 4, 2).note, 53);
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(cell(m, row, 3).param, 0x37);

    const XmModule d = compile("pattern p 8\n drums 1 k=kick swing=2 k.K.\nend\n");
    EXPECT_EQ(cell(d, 0, 1).note, 49);
    EXPECT_EQ(cell(d, 0, 1).volume, 0);
    EXPECT_EQ(cell(d, 2, 1).volume, 0x10 + 40);
    EXPECT_EQ(cell(d, 2, 1).param, 0xD2); // off-beat, late
    EXPECT_EQ(cell(d, 4, 1).instrument, 2);
}

TEST(ScoreCompiler, PhrasesExpandAndGlobalEffectsTakeAFreeColumn)
{
    const XmModule m = compile(
        "phrase two c4:2 d4\npattern p 6\n notes 3 lead $two -/F06\n at 4 F50\n at 4 D00\nend\n");
    EXPECT_EQ(cell(m, 2, 3).note, 51);
    EXPECT_EQ(cell(m, 4, 3).effect, 15);
    EXPECT_EQ(cell(m, 4, 3).param, 6);
    EXPECT_EQ(cell(m, 4, 2).param, 0x50);
    EXPECT_EQ(cell(m, 4, 1).effect, 13);
}

TEST(ScoreCompiler, SongSecondsFollowTempoChangesAndBreaks)
{
    // 125 BPM at speed 6: 0.12 s a row; the break ends the first pattern after row 3
    const XmModule m =
        compile("pattern p 8\n at 3 D00\nend\npattern q 4\n at 0 F7D\nend\n", "order p q\n");
    EXPECT_NEAR(soundgen::songSeconds(m), 4 * 0.12 + 4 * 6 * 2.5 / 125, 1e-9);
}

TEST(ScoreCompiler, ModuleBytesLoadInTheGame)
{
    const XmModule m = compile(
        "pattern p 4\n notes 1 lead c4:1 = e4 -\n drums 2 k=kick K...\nend\n", "order p p\n");
    const std::vector<uint8_t> bytes = soundgen::writeXm(m);
    const auto xm = loadXmModule(bytes.data(), bytes.size(), 64);
    ASSERT_TRUE(xm);
    EXPECT_EQ(xm->channels, 3);
    EXPECT_EQ(xm->songLength, 2);
    EXPECT_EQ(xm->orders[1], 0);
    ASSERT_EQ(xm->storedPatterns, 1);
    EXPECT_EQ(xm->patterns[0].cells[3].note, 255); // row 1, channel 1: key-off
    EXPECT_EQ(xm->patterns[0].cells[1].volume, 0x10 + 40);
    ASSERT_EQ(xm->instruments.size(), 2u);
    const XmInstrument& lead = xm->instruments[0];
    EXPECT_TRUE(lead.volumeEnvelope.on);
    EXPECT_TRUE(lead.volumeEnvelope.sustainOn);
    const XmSample& tone = lead.samples[0];
    EXPECT_EQ(tone.loop, LoopType::Forward);
    EXPECT_EQ(tone.relativeNote, 12);
    const auto& written = m.instruments[0].sample.data;
    EXPECT_EQ(std::vector<int16_t>(tone.data.begin(), tone.data.begin() + tone.length), written);
    EXPECT_EQ(xm->instruments[1].samples[0].loop, LoopType::None);
    EXPECT_EQ(xm->instruments[1].samples[0].volume, 30);
}

TEST(ScoreCompiler, FaultsNameTheLineAndTheProblem)
{
    EXPECT_EQ(faultOf("pattern p 8\n notes 1 lead c4:4 d4:8\nend\n"),
              "t.txt:7: the line lasts 12 rows, pattern \"p\" has 8");
    EXPECT_EQ(faultOf("pattern p 4\n notes 1 flute c4:4\nend\n"),
              "t.txt:7: unknown instrument \"flute\"");
    EXPECT_EQ(faultOf("pattern p 4\n notes 1 lead c4:4\n notes 1 lead d4:4\nend\n"),
              "t.txt:8: pattern \"p\" channel 1 row 0 already has a note");
    EXPECT_EQ(faultOf("pattern p 4\n notes 4 lead c4:4\nend\n"),
              "t.txt:7: \"4\" is no channel from 1 to 3");
    EXPECT_EQ(faultOf("pattern p 4\n notes 1 lead q4:4\nend\n"),
              "t.txt:7: \"q4\" is no note from c0 to b7");
    EXPECT_EQ(faultOf("pattern p 4\n chord 1-2 lead c4 Hm:4\nend\n"),
              "t.txt:7: \"Hm\" is no chord symbol");
    EXPECT_EQ(faultOf("phrase a $a\npattern p 4\n notes 1 lead $a\nend\n"),
              "t.txt:8: phrases nest too deep (does \"$a\" name itself?)");
    EXPECT_EQ(faultOf("pattern p 4\n notes 1 lead c4:4/Z\nend\n"),
              "t.txt:7: \"c4:4/Z\": bad effect (one per token, like A04)");
    EXPECT_EQ(faultOf("pattern p 4\nend\n", "order p x\n"),
              "t.txt:8: order names the unknown pattern \"x\"");
    EXPECT_EQ(faultOf("pattern p 4\n notes 1 lead c4:4\n", ""),
              "t.txt:6: pattern \"p\" has no end line");
    EXPECT_EQ(faultOf("title A Title Far, Far Too Long\n"),
              "t.txt:6: a title holds at most 20 characters");
    EXPECT_EQ(faultOf("instrument bad lead venv=0:64,0:32\n"),
              "t.txt:6: envelope point \"0:32\" is not tick:value (rising ticks, values 0..64)");
}
