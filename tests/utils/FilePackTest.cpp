// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/FilePack.h"

#include "TempDir.h"
#include "utils/FatalError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/stat.h>

namespace {

void appendU32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>(value >> shift);
}

// A pack file written by hand, byte by byte, in the "LB" layout.
std::string handMadePack(const std::vector<std::pair<std::string, std::string>>& files)
{
    std::string out = "LB";
    appendU32(out, static_cast<std::uint32_t>(files.size()));
    for (const auto& [name, data] : files) {
        appendU32(out, static_cast<std::uint32_t>(name.size()));
        out += name;
        appendU32(out, static_cast<std::uint32_t>(data.size()));
        out += 'n';
        out += data;
    }
    return out;
}

std::string text(const PackEntry& entry)
{
    return std::string(entry.data.begin(), entry.data.end());
}

FilePack loaded(const std::string& path)
{
    FilePack pack;
    pack.setKey(kMainPackKey);
    EXPECT_TRUE(pack.load(path));
    return pack;
}

} // namespace

TEST(FilePackLayout, ReadsAHandMadePack)
{
    TempDir dir;
    TempDir::writeFile("data.pk", handMadePack({{"Dat/Block.SPR", "groups 1"}, {"b", "xyz"}}));
    const FilePack pack = loaded("data.pk");
    ASSERT_EQ(pack.entryCount(), 2u);
    EXPECT_EQ(pack.names()[0], "dat/block.spr");
    EXPECT_EQ(pack.entries()[0].offset, 2u + 4 + 4 + 13 + 4 + 1);
    EXPECT_EQ(text(pack.getFile("DAT/block.spr")), "groups 1");
    EXPECT_EQ(text(pack.getFile("b")), "xyz");
}

TEST(FilePackLayout, SavesTheExactLayoutEmptyFilesIncluded)
{
    TempDir dir;
    TempDir::writeFile("empty.txt", "");
    TempDir::writeFile("one.txt", "abc");
    FilePack pack;
    ASSERT_TRUE(pack.addFile("empty.txt", "mui/empty.txt", true));
    ASSERT_TRUE(pack.addFile("one.txt", "mui/one.txt", false));
    ASSERT_TRUE(pack.save("out.pk"));
    std::string expected = handMadePack({{"mui/empty.txt", ""}, {"mui/one.txt", "abc"}});
    expected[2 + 4 + 4 + 13 + 4] = 'y'; // the empty entry is flagged scrambled
    EXPECT_EQ(TempDir::readFile("out.pk"), expected);

    FilePack reloaded = loaded("out.pk");
    ASSERT_TRUE(reloaded.addFile("empty.txt", "mui/another.txt", false));
    ASSERT_TRUE(reloaded.save("again.pk"));
    const FilePack again = loaded("again.pk");
    ASSERT_EQ(again.entryCount(), 3u);
    EXPECT_TRUE(again.getFile("mui/empty.txt").data.empty());
    EXPECT_TRUE(again.getFile("mui/another.txt").data.empty());
    EXPECT_EQ(text(again.getFile("mui/one.txt")), "abc");
}

TEST(FilePackLookup, SlashesCaseAndFirstMatch)
{
    TempDir dir;
    TempDir::writeFile("data.pk", handMadePack({{"dat/block.spr", "fwd"},
                                                {"dat\\back.spr", "back"},
                                                {"dat/block.spr", "second copy"},
                                                {"a/b\\c.txt", "mixed"}}));
    const FilePack pack = loaded("data.pk");
    EXPECT_EQ(text(pack.getFile("dat\\block.spr")), "fwd");
    EXPECT_EQ(text(pack.getFile("DAT/Block.SPR")), "fwd");
    EXPECT_EQ(text(pack.getFile("dat/back.spr")), "back");
    EXPECT_TRUE(pack.contains("a/b/c.txt"));
    EXPECT_TRUE(pack.contains("a\\b\\c.txt"));
    EXPECT_FALSE(pack.contains("a\\b/c.txt")); // the request itself is not converted
}

TEST(FilePackLookup, PackBeforeDiskAndDiskFallback)
{
    TempDir dir;
    TempDir::writeFile("mui/main_wnd.txt", "disk copy");
    TempDir::writeFile("levels/level001.txt", "level on disk");
    TempDir::writeFile("data.pk", handMadePack({{"mui/main_wnd.txt", "pack copy"}}));
    const FilePack pack = loaded("data.pk");
    EXPECT_EQ(text(pack.getFile("mui/main_wnd.txt")), "pack copy");
    const PackEntry disk = pack.getFile("LEVELS/Level001.txt");
    EXPECT_EQ(text(disk), "level on disk");
    EXPECT_EQ(disk.offset, 0u);
    EXPECT_FALSE(pack.findFile("absent.txt").has_value());
}

// A language's pack over the main one replaces only the names it holds, and
// its own disk fallback is never asked: the main pack's copy wins over it.
TEST(FilePackLookup, AnOverlayReplacesOnlyItsOwnNames)
{
    TempDir dir;
    TempDir::writeFile(
        "data.pk", handMadePack({{"mui/btn_quit.png", "Quit"}, {"mui/bgs/main.jpg", "garden"}}));
    TempDir::writeFile("lang/de.pk", handMadePack({{"mui/btn_quit.png", "Beenden"},
                                                   {"lang/vellomar.mo", "catalogue"}}));
    TempDir::writeFile("levels/level001.txt", "level on disk");
    FilePack pack = loaded("data.pk");
    pack.setOverlay(std::make_unique<FilePack>(loaded("lang/de.pk")));
    EXPECT_EQ(text(pack.getFile("MUI/Btn_Quit.png")), "Beenden");
    EXPECT_EQ(text(pack.getFile("mui/bgs/main.jpg")), "garden");
    EXPECT_EQ(text(pack.getFile("levels/level001.txt")), "level on disk");
    EXPECT_TRUE(pack.contains("lang/vellomar.mo"));
    EXPECT_FALSE(pack.contains("levels/level001.txt"));
    EXPECT_EQ(pack.entryCount(), 2u);
    pack.setOverlay(nullptr);
    EXPECT_EQ(text(pack.getFile("mui/btn_quit.png")), "Quit");
    EXPECT_FALSE(pack.contains("lang/vellomar.mo"));
}

TEST(FilePackLookup, NamesThePackLacksComeFromItsDiskFolderNotTheWorkingDirectory)
{
    TempDir dir;
    TempDir::writeFile("mui/main_wnd.txt", "in the working directory");
    TempDir::writeFile("My Games/vellomar/mui/main_wnd.txt", "beside the program");
    FilePack pack;
    pack.setDiskFolder("My Games/vellomar/");
    EXPECT_EQ(text(pack.getFile("MUI/Main_Wnd.txt")), "beside the program");
    EXPECT_FALSE(pack.findFile("levels/level001.txt").has_value());
}

TEST(FilePackLookup, MissingPackLeavesTheDirectoryAlone)
{
    TempDir dir;
    TempDir::writeFile("data.pk", handMadePack({{"x", "1"}}));
    TempDir::writeFile("bad.pk", "XB\1\0\0\0");
    FilePack pack = loaded("data.pk");
    EXPECT_FALSE(pack.load("absent.pk"));
    EXPECT_FALSE(pack.load("bad.pk"));
    EXPECT_EQ(pack.entryCount(), 1u);
}

TEST(FilePackLookup, AMissingAssetIsFatalAndNamed)
{
    TempDir dir;
    FilePack pack;
    EXPECT_EXIT(pack.getFile("dat/Missing.spr"), testing::ExitedWithCode(1),
                "\"file != 0\" in utils/FilePack \\(file: dat/missing.spr\\)");
}

// Scrambled bytes as packs have always stored them: the key's two passes
// cancel out for some keys.
TEST(FilePackScrambling, KeepsTheStoredMeaningForAnyKey)
{
    const std::string text = "Every pack entry scrambled!";
    for (const auto& [key, hex] :
         {std::pair<std::string, std::string>{
              kMainPackKey, "561973680d21747973692e762e64771f36777b7f7777266e753f4b"},
          {"k", "4576657279207061636b20656e74727920736372616d626c656421"},
          {"xyz", "447567737a227162616a23676f77707823716271636c616e646723"}}) {
        std::string bytes = text;
        FilePack::scrambleInPlace(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(), key);
        std::string scrambled;
        for (const unsigned char c : bytes)
            scrambled += "0123456789abcdef"[c >> 4] + std::string(1, "0123456789abcdef"[c & 15]);
        EXPECT_EQ(scrambled, hex) << key;
    }
}

TEST(FilePackScrambling, RoundTripsThroughSave)
{
    TempDir dir;
    std::mt19937 random(5);
    for (int round = 0; round < 30; ++round) {
        FilePack pack;
        pack.setKey(kMainPackKey);
        std::vector<std::string> contents;
        for (int i = 0; i < 1 + round % 7; ++i) {
            std::string bytes(random() % 300, '\0');
            for (auto& c : bytes)
                c = static_cast<char>(random());
            const std::string path = "f" + std::to_string(i);
            TempDir::writeFile(path, bytes);
            const std::string name = (i % 2 ? "Dir\\Sub/" : "dir/") + path + ".BIN";
            ASSERT_TRUE(pack.addFile(path, name, random() % 2 == 0));
            contents.push_back(bytes);
        }
        ASSERT_TRUE(pack.save("round.pk"));
        const FilePack back = loaded("round.pk");
        for (std::size_t i = 0; i < contents.size(); ++i) {
            const std::string name =
                (i % 2 ? "dir/sub/" : "DIR\\") + std::string("f") + std::to_string(i) + ".bin";
            EXPECT_EQ(text(back.getFile(name)), contents[i]) << name;
        }
    }
}

TEST(FilePackScrambling, EntriesFlaggedYAreStoredScrambled)
{
    TempDir dir;
    TempDir::writeFile("secret.txt", "plain words");
    FilePack pack;
    pack.setKey(kMainPackKey);
    pack.addFile("secret.txt", "s", true);
    pack.save("s.pk");
    const std::string bytes = TempDir::readFile("s.pk");
    EXPECT_EQ(bytes.find("plain words"), std::string::npos);
    EXPECT_EQ(bytes[2 + 4 + 4 + 1 + 4], 'y');
    FilePack unkeyed; // without the key the bytes come back as stored
    unkeyed.load("s.pk");
    EXPECT_NE(text(unkeyed.getFile("s")), "plain words");
}

TEST(FilePackDamage, KeepsWholeEntriesOfALyingPack)
{
    TempDir dir;
    std::string longName = handMadePack({{"ok", "1"}, {std::string(100, 'n'), "2"}});
    TempDir::writeFile("long.pk", longName);
    EXPECT_EQ(loaded("long.pk").entryCount(), 1u);

    std::string lying = "LB";
    appendU32(lying, 0xFFFFFFFFu);
    appendU32(lying, 1);
    lying += "a";
    appendU32(lying, 0x7FFFFFFFu);
    lying += "n";
    TempDir::writeFile("lying.pk", lying);
    EXPECT_EQ(loaded("lying.pk").entryCount(), 0u);
}

TEST(FilePackDamage, SaysWhyAPackIsUnusableAndNeverHangsOrReadsItWhole)
{
    TempDir dir;
    const std::string whole = handMadePack({{"good", "12345"}, {"cut", "abcdefgh"}});
    TempDir::writeFile("cut.pk", whole.substr(0, whole.size() - 3));
    TempDir::writeFile("empty.pk", "");
    TempDir::writeFile("garbage.pk", "\x89PNG\r\n\x1a\n and so on");
    TempDir::writeFile("header.pk", "LB\2");
    std::string huge = "LB";
    appendU32(huge, 1);
    appendU32(huge, 1);
    huge += "h";
    appendU32(huge, FilePack::kMaxEntrySize + 1);
    huge += 'n';
    TempDir::writeFile("huge-entry.pk", huge);
    std::filesystem::resize_file("huge-entry.pk", huge.size() + FilePack::kMaxEntrySize + 1);
    ASSERT_EQ(::mkfifo("fifo.pk", 0600), 0);
    std::filesystem::create_symlink("/dev/zero", "zero.pk");
    TempDir::writeFile("big.pk", "LB");
    std::filesystem::resize_file("big.pk", FilePack::kMaxPackSize + 1);
    std::filesystem::create_symlink(std::filesystem::absolute("cut.pk"), "link.pk");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"cut.pk", "has a damaged table of contents: 1 of its 2 files are whole"},
        {"link.pk", "has a damaged table of contents: 1 of its 2 files are whole"},
        {"empty.pk", "is empty"},
        {"garbage.pk", "is not a game data pack"},
        {"header.pk", "has no table of contents"},
        {"huge-entry.pk", "has a damaged table of contents: 0 of its 1 files are whole"},
        {"fifo.pk", "is a FIFO, not a regular file"},
        {"zero.pk", "is a device, not a regular file"},
        {"big.pk", "is 1024 MB, more than the 1024 MB such a file can be"},
        {"absent.pk", ""}};
    for (const auto& [name, damage] : cases) {
        FilePack pack;
        pack.load(name);
        EXPECT_EQ(pack.damage(), damage) << name;
    }
    FilePack sound;
    TempDir::writeFile("whole.pk", handMadePack({{"a", "1"}}));
    EXPECT_TRUE(sound.load("whole.pk"));
    EXPECT_EQ(sound.damage(), "");
}

TEST(FilePackDamage, DiskFilesInPlaceOfAssetsMustBeRegularToo)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo("fifo.txt", 0600), 0);
    std::filesystem::create_symlink("/dev/zero", "zero.txt");
    TempDir::writeFile("real.txt", "ok");
    std::filesystem::create_symlink("real.txt", "link.txt");
    FilePack pack;
    EXPECT_FALSE(pack.findFile("fifo.txt").has_value());
    EXPECT_FALSE(pack.findFile("zero.txt").has_value());
    EXPECT_EQ(text(*pack.findFile("link.txt")), "ok");
}

TEST(FilePackRegistry, CreateGetDestroy)
{
    EXPECT_FALSE(packExists("test"));
    FilePack& first = createPack("test");
    EXPECT_EQ(&getPack("test"), &first);
    FilePack& second = createPack("test");
    EXPECT_TRUE(packExists("test"));
    EXPECT_EQ(&getPack("test"), &second);
    destroyPack("test");
    EXPECT_FALSE(packExists("test"));
}
