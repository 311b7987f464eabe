// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/Catalogue.h"

#include "CompiledCatalogue.h"
#include "TempDir.h"
#include "utils/Log.h"
#include "utils/Translation.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const std::string kHeader = "Content-Type: text/plain; charset=UTF-8\n";

Catalogue loaded(const std::vector<std::uint8_t>& bytes)
{
    Catalogue catalogue;
    catalogue.load(bytes.data(), bytes.size());
    return catalogue;
}

} // namespace

TEST(Catalogue, FindsTranslationsInEitherByteOrder)
{
    const Pairs entries = {
        {"", kHeader},
        {"New game", "Neues Spiel"},
        {"Score on level : %d", "Punkte im Level: %d"},
        {std::string("%d flower\0%d flowers", 20), std::string("%d Blume\0%d Blumen", 18)}};
    for (bool bigEndian : {false, true}) {
        const Catalogue catalogue = loaded(compiled(entries, bigEndian));
        ASSERT_EQ(catalogue.size(), 3u) << catalogue.problem();
        EXPECT_EQ(*catalogue.find("New game"), "Neues Spiel");
        EXPECT_EQ(*catalogue.find("Score on level : %d"), "Punkte im Level: %d");
        EXPECT_EQ(*catalogue.find("%d flower"), "%d Blume");
        EXPECT_EQ(catalogue.find("Quit"), nullptr);
    }
}

TEST(Catalogue, DropsTranslationsThatCouldNotBeDrawnSafely)
{
    const Catalogue catalogue = loaded(compiled({{"", kHeader},
                                                 {"Lives left : %d", "Vidas: %s"},
                                                 {"Time : %d:%02d", "Tempo: %d:%d"},
                                                 {"100%% sure", "100%% sicuro"},
                                                 {"Quit", "Esci\xff"},
                                                 {"Help", ""}}));
    EXPECT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue.dropped(), 3u);
    EXPECT_EQ(*catalogue.find("100%% sure"), "100%% sicuro");
    EXPECT_EQ(catalogue.find("Help"), nullptr);
}

TEST(Catalogue, RefusesDamagedFilesWhole)
{
    const std::vector<std::uint8_t> good = compiled({{"", kHeader}, {"Quit", "Beenden"}});
    std::vector<std::vector<std::uint8_t>> damaged;
    damaged.emplace_back(good.begin(), good.end() - 3); // the last string cut short
    damaged.push_back(good);
    damaged.back()[8] = 0xff; // a count beyond the tables
    damaged.push_back(good);
    damaged.back()[good.size() - 1] = 'x'; // no terminating zero
    damaged.push_back(good);
    damaged.back()[0] = 0x12; // no magic
    damaged.push_back(
        compiled({{"", "Content-Type: text/plain; charset=ISO-8859-1\n"}, {"Quit", "Beenden"}}));
    damaged.emplace_back(good.begin(), good.begin() + 10);
    for (const auto& bytes : damaged) {
        Catalogue catalogue;
        EXPECT_FALSE(catalogue.load(bytes.data(), bytes.size()));
        EXPECT_TRUE(catalogue.empty());
        EXPECT_FALSE(catalogue.problem().empty());
    }
}

TEST(Translation, FallsBackToEnglishAndSaysSoOnceAndFillsInNumbers)
{
    TempDir dir;
    ASSERT_TRUE(Log::open("game.log"));
    Translation::use(
        loaded(compiled({{"", kHeader}, {"Quit", "Beenden"}, {"Lives : %d", "Leben: %d"}})), "de");
    EXPECT_STREQ(tr("Quit"), "Beenden");
    EXPECT_EQ(tr("Lives : %d", 12345), "Leben: 12345");
    EXPECT_STREQ(tr("Options"), "Options");
    EXPECT_STREQ(tr("Options"), "Options");
    Translation::use(Catalogue(), "");
    EXPECT_STREQ(tr("Quit"), "Quit");
    Log::close();
    EXPECT_EQ(TempDir::readFile("game.log"),
              "No de translation of \"Options\"; it is shown in English\nClosing Log\n");
}
