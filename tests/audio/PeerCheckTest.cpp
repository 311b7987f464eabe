// Compares the player with libxmp on modules without position jumps.
#include "AudioTestSupport.h"
#include "audio/MusicRender.h"

#include <gtest/gtest.h>
#include <xmp.h>

#include <numeric>

using Cell = XmBuilder::Cell;

namespace {

struct PeerRender {
    double seconds = 0;
    std::vector<std::int16_t> frames;
};

PeerRender renderWithLibxmp(std::vector<std::uint8_t> bytes)
{
    PeerRender result;
    xmp_context context = xmp_create_context();
    if (xmp_load_module_from_memory(context, bytes.data(), long(bytes.size())) != 0) {
        xmp_free_context(context);
        return result;
    }
    xmp_start_player(context, 44100, 0);
    xmp_set_player(context, XMP_PLAYER_MIX, 100);
    xmp_frame_info info{};
    while (xmp_play_frame(context) == 0) {
        xmp_get_frame_info(context, &info);
        if (info.loop_count > 0) {
            break;
        }
        const auto* samples = static_cast<const std::int16_t*>(info.buffer);
        result.frames.insert(result.frames.end(), samples, samples + info.buffer_size / 2);
    }
    result.seconds = double(result.frames.size() / 2) / 44100;
    xmp_end_player(context);
    xmp_release_module(context);
    xmp_free_context(context);
    return result;
}

std::vector<double> loudnessPerSecond(const std::vector<std::int16_t>& frames)
{
    std::vector<double> out;
    for (std::size_t start = 0; start + 44100 <= frames.size() / 2; start += 44100) {
        out.push_back(audiotest::rms(frames, 0, start, start + 44100) +
                      audiotest::rms(frames, 1, start, start + 44100));
    }
    return out;
}

double correlation(const std::vector<double>& a, const std::vector<double>& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    const double ma = std::accumulate(a.begin(), a.begin() + long(n), 0.0) / double(n);
    const double mb = std::accumulate(b.begin(), b.begin() + long(n), 0.0) / double(n);
    double sab = 0, saa = 0, sbb = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sab += (a[i] - ma) * (b[i] - mb);
        saa += (a[i] - ma) * (a[i] - ma);
        sbb += (b[i] - mb) * (b[i] - mb);
    }
    return sab / std::sqrt(saa * sbb);
}

// Four channels over three patterns: volume swells, speed and tempo changes,
// a pattern break, a pattern loop and a pattern delay.
XmBuilder peerModule()
{
    XmBuilder b(4);
    b.addInstrument(XmBuilder::sineSample(64));
    XmBuilder::Sample square;
    for (int i = 0; i < 100; ++i) {
        square.data.push_back(i < 50 ? 12000 : -12000);
    }
    square.loopLength = 100;
    square.loopType = 1;
    b.addInstrument(square);
    for (int p = 0; p < 3; ++p) {
        b.addPattern(32);
    }
    b.orders = {0, 1, 2, 1, 0};
    for (int p = 0; p < 3; ++p) {
        for (int row = 0; row < 32; row += 4) {
            b.cell(p, row, 0) = Cell{std::uint8_t(49 + (row / 4) % 5), 1, std::uint8_t(0x10 + 8 * (row / 4 + p)), 0, 0};
            b.cell(p, row + 2, 1) = Cell{std::uint8_t(37 + p * 3), 2, std::uint8_t(0x10 + 4 * (p + 1) * (row / 8 + 1)), 0, 0};
        }
    }
    b.cell(0, 8, 2) = Cell{0, 0, 0, 15, 4};      // speed 4
    b.cell(1, 0, 2) = Cell{0, 0, 0, 15, 150};    // 150 BPM
    b.cell(1, 20, 3) = Cell{0, 0, 0, 13, 0x04};  // break to row 4
    b.cell(2, 4, 3) = Cell{0, 0, 0, 14, 0x60};
    b.cell(2, 7, 3) = Cell{0, 0, 0, 14, 0x62};   // rows 4-7 three times
    b.cell(2, 12, 2) = Cell{0, 0, 0, 14, 0xE3};  // pattern delay
    b.cell(2, 16, 2) = Cell{0, 0, 0, 15, 6};
    b.cell(2, 24, 2) = Cell{0, 0, 0, 15, 100};
    return b;
}

} // namespace

TEST(PeerCheck, DurationMatchesLibxmp)
{
    for (const XmBuilder& module : {peerModule(), audiotest::toneModule(64)}) {
        const std::vector<std::uint8_t> bytes = module.build();
        const MusicRender ours = renderModule(bytes.data(), bytes.size(), 0);
        const PeerRender theirs = renderWithLibxmp(bytes);
        ASSERT_TRUE(ours.songEnded);
        ASSERT_GT(theirs.seconds, 1.0);
        EXPECT_NEAR(ours.seconds, theirs.seconds, theirs.seconds * 0.01);
    }
}

TEST(PeerCheck, LoudnessFollowsLibxmp)
{
    const std::vector<std::uint8_t> bytes = peerModule().build();
    const MusicRender ours = renderModule(bytes.data(), bytes.size(), 0);
    const PeerRender theirs = renderWithLibxmp(bytes);
    const std::vector<double> a = loudnessPerSecond(ours.frames);
    const std::vector<double> b = loudnessPerSecond(theirs.frames);
    ASSERT_GE(std::min(a.size(), b.size()), 5u);
    EXPECT_GT(correlation(a, b), 0.9);
}
