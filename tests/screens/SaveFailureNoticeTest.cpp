// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/SaveFailureNotice.h"

#include "objects/Font.h"
#include "utils/CompiledCatalogue.h"
#include "utils/KeyValueFile.h"
#include "utils/PlayerFile.h"
#include "utils/TempDir.h"
#include "utils/Translation.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace {

KeyValueFile settings()
{
    KeyValueFile file;
    file.setInt("m_level", 4);
    return file;
}

} // namespace

TEST(SaveFailureNotice, ShowsTheSessionsFirstFailedSaveOnceForAFewSecondsSayingWhy)
{
    EXPECT_EQ(SaveFailureNotice::textFor(EROFS),
              "Could not save your progress: the disk is read-only");
    EXPECT_EQ(SaveFailureNotice::textFor(EIO), "Could not save your progress");
    TempDir dir;
    PlayerFile::forgetFailures();
    const Font font;
    SaveFailureNotice notice(font);
    notice.update(16.0f);
    EXPECT_FALSE(notice.isShowing()) << "nothing failed yet";

    std::filesystem::create_directory("data");
    std::filesystem::create_symlink("/dev/full", "data/dx.cfg.tmp" + std::to_string(::getpid()));
    EXPECT_FALSE(PlayerFile::save(settings(), "data/dx.cfg"));
    notice.update(16.0f);
    EXPECT_TRUE(notice.isShowing());
    EXPECT_EQ(notice.text(), "Could not save your progress: the disk is full");
    // Another language chosen meanwhile: the line is said again in it.
    const auto bytes =
        compiled({{"", "Content-Type: text/plain; charset=UTF-8\n"},
                  {"Could not save your progress: the disk is full", "Disque plein"}});
    Catalogue french;
    ASSERT_TRUE(french.load(bytes.data(), bytes.size()));
    Translation::use(std::move(french), "fr");
    notice.update(16.0f);
    EXPECT_EQ(notice.text(), "Disque plein");
    Translation::use(Catalogue(), "");
    notice.update(16.0f);
    notice.update(SaveFailureNotice::kShownMilliseconds - 132.0f);
    EXPECT_TRUE(notice.isShowing());
    notice.update(100.0f);
    EXPECT_FALSE(notice.isShowing());

    std::filesystem::create_symlink("/dev/full", "data/dx.cfg.tmp" + std::to_string(::getpid()));
    EXPECT_FALSE(PlayerFile::save(settings(), "data/dx.cfg"));
    notice.update(16.0f);
    EXPECT_FALSE(notice.isShowing()) << "once a session is enough";
    PlayerFile::forgetFailures();
}
