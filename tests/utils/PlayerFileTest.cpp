// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/PlayerFile.h"
#include "utils/KeyValueFile.h"
#include "utils/Log.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(PlayerFile, AFullDiskKeepsTheOldFileAndTheFirstFailureIsKeptForThePlayer)
{
    TempDir dir;
    PlayerFile::forgetFailures();
    TempDir::writeFile("data/dx.cfg", "old");
    // The temporary file is where the bytes go first: there, the disk is full.
    std::filesystem::create_symlink("/dev/full", "data/dx.cfg.tmp" + std::to_string(::getpid()));
    EXPECT_FALSE(PlayerFile::save(record(), "data/dx.cfg"));
    EXPECT_EQ(TempDir::readFile("data/dx.cfg"), "old");
    EXPECT_FALSE(std::filesystem::exists("data/dx.cfg.tmp" + std::to_string(::getpid())));
    TempDir::writeFile("blocked", "a file where a folder should be");
    EXPECT_FALSE(PlayerFile::save(record(), "blocked/saved.dat"));
    ASSERT_TRUE(PlayerFile::firstFailure().has_value());
    EXPECT_EQ(PlayerFile::firstFailure()->path, "data/dx.cfg");
    EXPECT_EQ(PlayerFile::firstFailure()->error, ENOSPC);
    PlayerFile::forgetFailures();
    EXPECT_TRUE(PlayerFile::save(record(), "data/dx.cfg"));
    EXPECT_FALSE(PlayerFile::firstFailure().has_value());
}

TEST(PlayerFile, LeftoversOfSavesThatWereCutShortGoBeforeTheNextSave)
{
    TempDir dir;
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string gone = std::to_string(child);
    TempDir::writeFile("data/top7.tbl.tmp" + gone, "half a table");
    TempDir::writeFile("data/top7.tbl.tmp1", "init's, still running");
    TempDir::writeFile("data/top7.tbl.tmpx", "not a writer's");
    TempDir::writeFile("data/saved.dat.tmp" + gone, "another file's");
    ASSERT_TRUE(PlayerFile::save(record(), "data/top7.tbl"));
    EXPECT_FALSE(std::filesystem::exists("data/top7.tbl.tmp" + gone));
    EXPECT_TRUE(std::filesystem::exists("data/top7.tbl.tmp1"));
    EXPECT_TRUE(std::filesystem::exists("data/top7.tbl.tmpx"));
    EXPECT_TRUE(std::filesystem::exists("data/saved.dat.tmp" + gone));
}
