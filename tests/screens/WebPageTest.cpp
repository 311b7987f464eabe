// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WebBrowser.h"
#include "ui/MenuResources.h"
#include "utils/GameFolders.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(WebPage, LocalPagesBecomeFileAddressesInTheGamesDataFolderAndWebAddressesStay)
{
    EXPECT_EQ(WebBrowser::addressFor("https://example.org/a"), "https://example.org/a");
    EXPECT_EQ(WebBrowser::addressFor("/opt/game/doc/manual.html"),
              "file:///opt/game/doc/manual.html");
    const std::filesystem::path here = std::filesystem::current_path();
    EXPECT_EQ(WebBrowser::addressFor("doc/./manual.html"),
              "file://" + (here / "doc/manual.html").string());
    // The game's own page is found in its data folder, not the working folder.
    const std::string page = MenuResources::kWebPage;
    if (page.find("://") != std::string::npos)
        GTEST_SKIP() << "the buttons open a web site";
    GameFolders::setCurrent(GameFolders::gameFolder("/usr/share/vellomar/"));
    EXPECT_EQ(MenuResources::webAddress(), "file:///usr/share/vellomar/" + page);
    GameFolders::setCurrent(GameFolders());
}
