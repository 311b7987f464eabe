// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"
#include "audio/MusicRender.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<MusicModule> loadBytes(const std::vector<std::uint8_t>& bytes)
{
    return loadXmModule(bytes.data(), bytes.size(), 64);
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = std::uint8_t(value >> (8 * i));
    }
}

// Offset of the first instrument of a module with one pattern of one channel.
std::size_t firstInstrument(const XmBuilder& b)
{
    return 60 + 276 + 9 + b.patterns[0].cells.size() * 5;
}

} // namespace

TEST(XmLoading, SamplesAreDecodedWithTheirLoops)
{
    XmBuilder b = audiotest::toneModule(4);
    XmBuilder::Sample eight;
    eight.sixteenBit = false;
    eight.data = {256, 512, -256, 0};
    eight.loopType = 2;
    eight.loopStart = 1;
    eight.loopLength = 2;
    b.instruments[0].samples.push_back(eight);
    b.instruments[0].noteSample[60] = 1;
    b.instruments[0].fadeout = 300;
    auto m = audiotest::load(b);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->instruments[0].samples.size(), 2u);
    const XmSample& sine = m->instruments[0].samples[0];
    EXPECT_EQ(sine.length, 64);
    EXPECT_EQ(sine.loop, LoopType::Forward);
    EXPECT_EQ(sine.data[64], sine.data[0]); // guard after the loop end
    const XmSample& pingPong = m->instruments[0].samples[1];
    EXPECT_EQ(pingPong.length, 4);
    EXPECT_EQ(pingPong.loop, LoopType::PingPong);
    EXPECT_EQ((std::vector<std::int16_t>(pingPong.data.begin(), pingPong.data.begin() + 3)),
              (std::vector<std::int16_t>{256, 512, -256}));
    EXPECT_EQ(pingPong.data[3], -256); // the last value inside the loop
    EXPECT_EQ(m->instruments[0].fadeout, 600);
    EXPECT_EQ(m->table, FrequencyTable::Linear);
}

TEST(XmLoading, RejectsWhatIsNoModule)
{
    const std::vector<std::uint8_t> text{'E', 'x', 't', 'e', 'n', 'd', 'e', 'd'};
    EXPECT_EQ(loadBytes(text), nullptr);
    XmBuilder b = audiotest::toneModule(4);
    b.instruments[0].samples.resize(17, b.instruments[0].samples[0]);
    EXPECT_EQ(audiotest::load(b), nullptr);
    XmBuilder many = audiotest::toneModule(4);
    std::vector<std::uint8_t> bytes = many.build();
    bytes[60 + 8] = 200; // channel count
    bytes[60 + 9] = 1;
    EXPECT_EQ(loadBytes(bytes), nullptr);
}

TEST(XmLoading, HostileSizesStayWithinTheData)
{
    XmBuilder b = audiotest::toneModule(4);
    std::vector<std::uint8_t> bytes = b.build();
    const std::size_t sampleHeader = firstInstrument(b) + 263;
    put32(bytes, sampleHeader, 0x7FFFFFF0); // sample length far past the file
    auto m = loadBytes(bytes);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->instruments[0].samples[0].length, 64);

    put32(bytes, firstInstrument(b), 0xFFFFFFF0); // instrument header size
    EXPECT_NE(loadBytes(bytes), nullptr);

    std::vector<std::uint8_t> rows = b.build();
    rows[60 + 276 + 5] = 0x01; // 257 rows
    rows[60 + 276 + 6] = 0x01;
    EXPECT_EQ(loadBytes(rows), nullptr);
}

TEST(XmLoading, TruncatedFilesLoadAsFarAsTheyGo)
{
    XmBuilder b = audiotest::toneModule(4);
    const std::vector<std::uint8_t> whole = b.build();
    for (std::size_t size = 17; size < whole.size(); size += 37) {
        std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + long(size));
        auto m = loadBytes(cut);
        if (m != nullptr) {
            const MusicRender r = renderModule(cut.data(), cut.size(), 0.2);
            EXPECT_TRUE(r.loaded);
        }
    }
    auto headerOnly = loadBytes(std::vector<std::uint8_t>(whole.begin(), whole.begin() + 80));
    ASSERT_NE(headerOnly, nullptr);
    EXPECT_EQ(headerOnly->instruments.size(), 1u);
    EXPECT_TRUE(headerOnly->instruments[0].samples.empty());
}

TEST(XmLoading, ChannelsBeyondThirtyTwoAreReadButNotHeard)
{
    XmBuilder b(40);
    b.addInstrument(XmBuilder::sineSample(64));
    b.addPattern(2);
    b.cell(0, 0, 39) = {49, 1, 0, 0, 0};
    b.cell(0, 1, 0) = {49, 1, 0, 0, 0};
    auto m = audiotest::load(b);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->heardChannels(), 32);
    EXPECT_EQ(m->patterns[0].cells.size(), 2u * 32);
    EXPECT_EQ(m->cellAt(m->patterns[0], 1, 0).note, 49);
    EXPECT_EQ(m->instruments[0].samples[0].length, 64);
}
