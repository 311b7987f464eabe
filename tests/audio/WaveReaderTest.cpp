// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioTestSupport.h"
#include "audio/CSoundManager.h"
#include "audio/CWaveReader.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

using audiotest::WavBytes;

namespace {

class WaveFiles : public ::testing::Test {
protected:
    std::string write(const std::string& name, const WavBytes& wav)
    {
        audiotest::writeBytes(name, wav.bytes);
        return name;
    }

    // The bytes the effect registered under id holds in its buffer.
    std::vector<std::uint8_t> bufferBytes(CSoundManager& manager, int id)
    {
        SoundBuffer& buffer = manager.effect(id)->buffer(0);
        void* bytes = nullptr;
        std::uint32_t size = 0;
        EXPECT_EQ(buffer.lock(&bytes, &size), kSoundOk);
        std::vector<std::uint8_t> copy(static_cast<std::uint8_t*>(bytes),
                                       static_cast<std::uint8_t*>(bytes) + size);
        buffer.unlock();
        return copy;
    }

    void SetUp() override
    {
        manager.setFailureNotice([this](const std::string& caption, const std::string& text) {
            notices.push_back(caption + ": " + text);
        });
        manager.initialise(nullptr, SoundDevice::createDetached());
    }

    TempDir dir;
    CSoundManager manager;
    std::vector<std::string> notices;
};

WavBytes shortData(int bits, std::uint8_t value, std::uint32_t declared, std::size_t held)
{
    WavBytes wav;
    wav.riff();
    wav.fmt(1, 1, 22050, bits);
    wav.data(std::vector<std::uint8_t>(held, value), declared);
    // The RIFF size promises the whole declared data, as in a file cut short.
    wav.patch32(4, std::uint32_t(wav.bytes.size() - 8 - held + declared));
    return wav;
}

} // namespace

TEST_F(WaveFiles, ShortDataIsPaddedWithTheFormatsSilence)
{
    ASSERT_TRUE(manager.load(write("short8.wav", shortData(8, 200, 100, 40)), 1));
    const auto eight = bufferBytes(manager, 1);
    ASSERT_EQ(eight.size(), 100u);
    EXPECT_EQ(eight[39], 200);
    EXPECT_EQ(eight[40], 128);
    EXPECT_EQ(eight[99], 128);

    ASSERT_TRUE(manager.load(write("short16.wav", shortData(16, 7, 64, 10)), 2));
    const auto sixteen = bufferBytes(manager, 2);
    ASSERT_EQ(sixteen.size(), 64u);
    EXPECT_EQ(sixteen[9], 7);
    EXPECT_EQ(sixteen[10], 0);
    EXPECT_EQ(sixteen[63], 0);
    EXPECT_TRUE(notices.empty());
}

TEST_F(WaveFiles, BrokenFilesFailWithTheMessage)
{
    WavBytes empty;
    empty.riff();
    empty.fmt(1, 1, 22050, 8);
    empty.data({}, 0);
    empty.closeRiff();
    WavBytes shortFormat;
    shortFormat.riff();
    shortFormat.tag("fmt ");
    shortFormat.put32(14);
    shortFormat.bytes.resize(shortFormat.bytes.size() + 14, 1);
    shortFormat.data({1, 2, 3, 4}, 4);
    shortFormat.closeRiff();
    WavBytes notWave;
    notWave.tag("RIFF");
    notWave.put32(4);
    notWave.tag("AVI ");

    EXPECT_FALSE(manager.load(write("empty.wav", empty), 1));
    EXPECT_FALSE(manager.load(write("shortfmt.wav", shortFormat), 2));
    EXPECT_FALSE(manager.load(write("notwave.wav", notWave), 3));
    EXPECT_FALSE(manager.load("no/such/file.wav", 4));
    EXPECT_FALSE(manager.load("", 5));
    ASSERT_EQ(notices.size(), 5u);
    EXPECT_EQ(notices[0], "CSoundManager: Failure creating the SoundManager.");
}

TEST_F(WaveFiles, NonPcmFormatsKeepTheirExtraBytes)
{
    std::vector<std::uint8_t> extensible(22, 0);
    extensible[6] = 1; // PCM sub-format
    WavBytes wav;
    wav.riff();
    wav.fmt(0xFFFE, 2, 44100, 16, extensible);
    wav.data(std::vector<std::uint8_t>(16, 0), 16);
    wav.closeRiff();
    CWaveReader reader;
    ASSERT_TRUE(reader.open(write("ext.wav", wav)));
    EXPECT_EQ(reader.format().formatTag, 0xFFFE);
    EXPECT_EQ(reader.formatExtra(), extensible);
    EXPECT_TRUE(manager.load(write("ext.wav", wav), 1));

    // A format the device cannot play is still read whole; the device refuses it.
    WavBytes adpcm;
    adpcm.riff();
    adpcm.fmt(2, 1, 22050, 4, std::vector<std::uint8_t>(32, 9));
    adpcm.data(std::vector<std::uint8_t>(64, 0), 64);
    adpcm.closeRiff();
    ASSERT_TRUE(reader.open(write("adpcm.wav", adpcm)));
    EXPECT_EQ(reader.formatExtra().size(), 32u);
    EXPECT_FALSE(manager.load(write("adpcm.wav", adpcm), 2));
}

TEST_F(WaveFiles, ChunkSizesAreClampedToTheFile)
{
    WavBytes wav;
    wav.riff(0x7FFFFFF0);
    wav.tag("junk");
    wav.put32(3);
    wav.bytes.insert(wav.bytes.end(), {1, 2, 3, 0}); // odd chunk with its pad byte
    wav.fmt(1, 1, 8000, 8);
    wav.data(std::vector<std::uint8_t>(10, 50), 0xFFFFFFF0);
    CWaveReader reader;
    ASSERT_TRUE(reader.open(write("huge.wav", wav)));
    EXPECT_LE(reader.size(), 8u << 20);
    std::vector<std::uint8_t> all(1000, 0);
    EXPECT_EQ(reader.read(all.data(), 1000), 10u);
    EXPECT_EQ(reader.read(all.data(), 1000), 0u);
    ASSERT_TRUE(reader.rewind());
    EXPECT_EQ(reader.read(all.data(), 4), 4u);
    EXPECT_EQ(all[3], 50);
}
