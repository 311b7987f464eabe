#include "app/Log.h"
#include "app/PlayerFile.h"
#include "utils/KeyValueFile.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

KeyValueFile record()
{
    KeyValueFile file;
    file.setInt("m_level", 7);
    return file;
}

} // namespace

TEST(PlayerFile, MissingFoldersAreMadePrivateOnFirstSave)
{
    TempDir dir;
    ASSERT_TRUE(PlayerFile::save(record(), "home/.local/share/vellomar/saved.dat", "key", 3));
    struct stat info {};
    ASSERT_EQ(::stat("home/.local/share/vellomar", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    KeyValueFile back;
    ASSERT_TRUE(back.loadFromDisk("home/.local/share/vellomar/saved.dat", true, "key", 3));
    EXPECT_EQ(back.getInt("m_level", 0), 7);
    // The game folder's own data/ comes back too when it went missing.
    EXPECT_TRUE(PlayerFile::save(record(), "data/dx.cfg"));
}

TEST(PlayerFile, AFileThatCannotBeWrittenCostsALogLineAndKeepsTheOldOne)
{
    TempDir dir;
    ASSERT_TRUE(Log::open("game.log"));
    TempDir::writeFile("blocked", "a file where a folder should be");
    EXPECT_FALSE(PlayerFile::save(record(), "blocked/vellomar/dx.cfg"));
    TempDir::writeFile("data/top7.tbl", "old");
    std::filesystem::create_directory("data/top7.tbl.tmp" + std::to_string(::getpid()));
    EXPECT_FALSE(PlayerFile::save(record(), "data/top7.tbl"));
    EXPECT_EQ(TempDir::readFile("data/top7.tbl"), "old");
    const std::string log = TempDir::readFile("game.log");
    EXPECT_NE(log.find("Could not create the folder blocked/vellomar: Not a directory"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Could not write data/top7.tbl: Is a directory"), std::string::npos) << log;
    Log::open("");
}
