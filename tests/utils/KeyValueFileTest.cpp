// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/KeyValueFile.h"

#include "TempDir.h"
#include "utils/FilePack.h"
#include "utils/Log.h"
#include "utils/RegularFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/stat.h>

namespace {

KeyValueFile parsed(const std::string& text)
{
    KeyValueFile store;
    store.parseBuffer(text.data(), text.size(), true);
    return store;
}

const std::string kKey = "player-key";

} // namespace

TEST(KeyValueFileSyntax, SeparatorsMayHoldLineEnds)
{
    EXPECT_EQ(parsed("key\n\n   value").getString("key", "-"), "value");
    EXPECT_EQ(parsed("k1 v1 k2 v2\r\nk3\tv3").entries().size(), 3u);
    EXPECT_EQ(parsed("q \"line one\nline two\"").getString("q", "-"), "line one\nline two");
    EXPECT_EQ(parsed("k \"unterminated value").getString("k", "-"), "unterminated value");
    EXPECT_EQ(parsed("lonely").getString("lonely", "-"), "");
    EXPECT_EQ(parsed("ke\"y v").getString("ke\"y", "-"), "v");
}

TEST(KeyValueFileSyntax, CommentsAreRemovedEvenInsideQuotes)
{
    const KeyValueFile store = parsed("next 5 // five\n//all\nlast 6\nurl http://example.org");
    EXPECT_EQ(store.getInt("next", 0), 5);
    EXPECT_EQ(store.getInt("last", 0), 6);
    EXPECT_EQ(store.getString("url", "-"), "http:");
    EXPECT_EQ(store.entries().size(), 3u);
    EXPECT_TRUE(parsed("// only a comment").entries().empty());
    // The comment also swallows a closing quote, so the value runs on to the next quote.
    const KeyValueFile quoted = parsed("a \"x//y\"\nb 1 c \"z\"");
    EXPECT_EQ(quoted.getString("a", "-").substr(0, 1), "x");
    EXPECT_NE(quoted.getString("a", "-").find("b 1 c "), std::string::npos);
}

TEST(KeyValueFileSyntax, LaterValuesWinAndClearFirstDecidesMerging)
{
    KeyValueFile store = parsed("k 1 k 2");
    EXPECT_EQ(store.getInt("k", 0), 2);
    const std::string more = "other 3";
    store.parseBuffer(more.data(), more.size(), false);
    EXPECT_EQ(store.entries().size(), 2u);
    store.parseBuffer(more.data(), more.size(), true);
    EXPECT_EQ(store.entries().size(), 1u);
}

TEST(KeyValueFileSyntax, GettersConvertAndFallBack)
{
    KeyValueFile store = parsed("n 42abc f 2.5 b 0 t 7 word abc");
    EXPECT_EQ(store.getInt("n", 0), 42);
    EXPECT_FLOAT_EQ(store.getFloat("f", 0), 2.5f);
    EXPECT_FALSE(store.getBool("b", true));
    EXPECT_TRUE(store.getBool("t", false));
    EXPECT_EQ(store.getInt("word", 9), 9);
    EXPECT_EQ(store.getInt("missing", -4), -4);
    EXPECT_FALSE(store.contains("missing")); // getters never insert
    store.setInt("neg", -12);
    EXPECT_EQ(store.getString("neg", ""), "-12");
}

TEST(KeyValueFileWrittenForm, KeyOrderAndQuotingRules)
{
    KeyValueFile store;
    store.setString("b", "two words");
    store.setString("a", "tab\there");
    store.setString("ab", "");
    store.setString("B", "upper");
    EXPECT_EQ(store.writtenForm(), "B upper\na tab\there\nab \"\"\nb \"two words\"\n");
    // The tab value reads back as two tokens; the empty one reads back empty.
    const KeyValueFile back = parsed(store.writtenForm());
    EXPECT_EQ(back.getString("a", "-"), "tab");
    EXPECT_EQ(back.getString("here", "-"), "ab");
    EXPECT_EQ(parsed("ab \"\"\nb c").getString("ab", "-"), "");
}

TEST(KeyValueFileDisk, SaveAndLoadRoundTripRandomStores)
{
    TempDir dir;
    std::mt19937 random(11);
    const std::string alphabet = "abcXYZ019._-%#";
    auto word = [&](std::size_t length) {
        std::string w;
        for (std::size_t i = 0; i < length; ++i)
            w += alphabet[random() % alphabet.size()];
        return w;
    };
    for (int round = 0; round < 200; ++round) {
        KeyValueFile store;
        const int count = 1 + random() % 30;
        for (int i = 0; i < count; ++i) {
            std::string value = word(random() % 12);
            if (random() % 3 == 0)
                value += " " + word(1 + random() % 5);
            store.setString(word(1 + random() % 10), value);
        }
        const bool scrambled = round % 2 == 0;
        ASSERT_TRUE(store.save("store.dat", scrambled ? kKey.data() : nullptr, kKey.size()));
        KeyValueFile back;
        ASSERT_TRUE(
            back.loadFromDisk("store.dat", true, scrambled ? kKey.data() : nullptr, kKey.size()));
        ASSERT_EQ(back.entries(), store.entries()) << "round " << round;
    }
}

// Whatever cannot be read leaves the store as it was.
TEST(KeyValueFileDisk, OnlyRegularFilesOfASaneSizeAreReadAndNeverByBlocking)
{
    TempDir dir;
    ASSERT_TRUE(Log::open("game.log"));
    TempDir::writeFile("real.cfg", "level 9");
    std::filesystem::create_symlink("real.cfg", "linked.cfg");
    ASSERT_EQ(::mkfifo("fifo.cfg", 0600), 0);
    std::filesystem::create_symlink("/dev/zero", "zero.cfg");
    TempDir::writeFile("huge.cfg", "level 1");
    std::filesystem::resize_file("huge.cfg", 300u << 20); // sparse: no disk used
    std::filesystem::create_directory("folder.cfg");

    KeyValueFile store;
    EXPECT_TRUE(store.loadFromDisk("linked.cfg", true));
    EXPECT_EQ(store.getInt("level", 0), 9);
    for (const char* name : {"absent.cfg", "fifo.cfg", "zero.cfg", "huge.cfg", "folder.cfg"}) {
        EXPECT_FALSE(store.loadFromDisk(name, true)) << name;
        EXPECT_EQ(store.entries().size(), 1u) << name;
    }
    const std::string log = TempDir::readFile("game.log");
    Log::open("");
    EXPECT_NE(log.find("Ignoring fifo.cfg: it is a FIFO, not a regular file"), std::string::npos)
        << log;
    EXPECT_NE(log.find("Ignoring zero.cfg: it is a device, not a regular file"), std::string::npos);
    EXPECT_NE(log.find("Ignoring huge.cfg: it is 300 MB, more than the 4 MB"), std::string::npos);
    EXPECT_NE(log.find("Ignoring folder.cfg: it is a folder"), std::string::npos);
}

TEST(KeyValueFileDisk, AFileLongerThanItsStatedSizeIsStillCutAtTheLimit)
{
    // The kernel's own files say they are empty and are not.
    std::string problem;
    EXPECT_FALSE(RegularFile::read("/proc/self/status", 64, problem).has_value());
    EXPECT_EQ(problem, "is larger than the 64 bytes such a file can be");
    EXPECT_TRUE(RegularFile::read("/proc/self/status", 1u << 20, problem).has_value());
}

TEST(KeyValueFileDisk, SaveReplacesAtomicallyAndKeepsTheOldFileOnFailure)
{
    TempDir dir;
    TempDir::writeFile("data/top.tbl", "old 1\n");
    KeyValueFile store = parsed("new 2");
    ASSERT_TRUE(store.save("data/top.tbl"));
    EXPECT_EQ(TempDir::readFile("data/top.tbl"), "new 2\n");
    EXPECT_FALSE(store.save("no-such-folder/top.tbl"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("data"), {}), 1)
        << "no temporary file is left behind";
}

TEST(KeyValueFilePack, LoadsThroughThePackWithDiskFallback)
{
    TempDir dir;
    TempDir::writeFile("mui/main_wnd.txt", "m_ok_btn.x 10\n");
    FilePack pack; // no pack file: everything comes from the disk
    KeyValueFile store;
    EXPECT_TRUE(store.loadFromPack(pack, "MUI/Main_Wnd.txt", true));
    EXPECT_EQ(store.getInt("m_ok_btn.x", 0), 10);
}
