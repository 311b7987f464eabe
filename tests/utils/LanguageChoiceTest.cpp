// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/LanguageChoice.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::vector<std::string> kAvailable = {"en", "de", "fr", "pt_BR", "pl"};

struct Case {
    std::map<std::string, std::string> environment;
    std::string setting;
    std::string spoken;
};

std::string choose(const Case& c)
{
    const auto environment = [&c](const char* name) {
        const auto it = c.environment.find(name);
        return it == c.environment.end() ? std::string() : it->second;
    };
    return LanguageChoice::choose(c.setting, environment, kAvailable);
}

} // namespace

TEST(LanguageChoice, TheEnvironmentIsReadAsGettextReadsItAndTheSettingOverridesIt)
{
    const std::vector<Case> cases = {
        // No locale, or the C locale: English, whatever LANGUAGE asks.
        {{}, "", "en"},
        {{{"LANGUAGE", "de"}}, "", "en"},
        {{{"LANG", "C"}, {"LANGUAGE", "de"}}, "", "en"},
        {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "de"}}, "", "en"},
        {{{"LC_ALL", "POSIX"}, {"LANGUAGE", "de"}, {"LANG", "de_DE.UTF-8"}}, "", "en"},
        // LC_ALL before LC_MESSAGES before LANG; an empty one is unset.
        {{{"LC_ALL", "fr_FR.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "pl_PL"}}, "", "fr"},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", "de_DE"}, {"LANG", "pl_PL"}}, "", "de"},
        {{{"LANG", "pl_PL.ISO-8859-2@euro"}}, "", "pl"},
        // ll_CC before ll; no ll_CC without its own pack.
        {{{"LANG", "pt_BR.UTF-8"}}, "", "pt_BR"},
        {{{"LANG", "pt_PT.UTF-8"}}, "", "en"},
        {{{"LANG", "de_AT.UTF-8"}}, "", "de"},
        {{{"LANG", "ja_JP.UTF-8"}}, "", "en"},
        // LANGUAGE first, in its order, skipping what the game lacks.
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "ja:fr_CA:de"}}, "", "fr"},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "::ja"}}, "", "de"},
        {{{"LANG", "fr_FR.UTF-8"}, {"LANGUAGE", "en_GB:de"}}, "", "en"},
        // The setting, when the game has it; else the environment.
        {{{"LANG", "de_DE.UTF-8"}}, "pl", "pl"},
        {{{"LANG", "de_DE.UTF-8"}}, "en", "en"},
        {{{"LANG", "de_DE.UTF-8"}}, "ja", "de"},
        {{{"LANG", "de_DE.UTF-8"}}, "../de", "de"},
        {{}, "pt_BR", "pt_BR"},
    };
    for (const Case& c : cases) {
        std::string where = "setting \"" + c.setting + "\",";
        for (const auto& [name, value] : c.environment)
            where += " " + name + "=" + value;
        EXPECT_EQ(choose(c), c.spoken) << where;
    }
}

TEST(LanguageChoice, TheAvailableLanguagesAreEnglishAndThePacksInTheLanguageFolder)
{
    TempDir dir;
    EXPECT_EQ(LanguageChoice::available("game/"), std::vector<std::string>{"en"});
    for (const char* name :
         {"pl.pk", "de.pk", "de2x.pk", "pt_BR.pk", "pt_BR2x.pk", "notes.txt", "en.pk", "x-y.pk"})
        TempDir::writeFile(std::string("game/data/lang/") + name, "LB");
    EXPECT_EQ(LanguageChoice::available("game/"),
              (std::vector<std::string>{"en", "de", "pl", "pt_BR"}));
    EXPECT_EQ(LanguageChoice::ownName("pt_BR"), "Português (Brasil)");
    EXPECT_EQ(LanguageChoice::ownName("pseudo"), "Pseudo");
    EXPECT_EQ(LanguageChoice::ownName("xx"), "xx");
}
