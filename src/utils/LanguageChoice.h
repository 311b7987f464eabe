// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

// Which language the game speaks: the player's setting when it names a
// language the game has, else the environment's, read as gettext reads it.
// A code is a language pack's name ("de", "pt_BR"); English is "en" and
// needs no pack.
class LanguageChoice {
public:
    static constexpr const char* kEnglish = "en";
    // The language packs' folder in the data folder.
    static constexpr const char* kPackFolder = "data/lang/";

    // The value of an environment variable, empty when it is unset.
    using Environment = std::function<std::string(const char* name)>;

    // English, then the codes with a pack in `dataFolder`'s language folder, sorted.
    static std::vector<std::string> available(const std::string& dataFolder);
    // LC_ALL, else LC_MESSAGES, else LANG names the locale; "C", "POSIX" or
    // none means English whatever LANGUAGE says. Otherwise LANGUAGE's list,
    // then the locale: each name as ll_CC, then ll; the first available wins.
    static std::string fromEnvironment(const Environment& environment,
                                       const std::vector<std::string>& available);
    // `setting` when available, else the environment's language ("" follows it).
    static std::string choose(const std::string& setting, const Environment& environment,
                              const std::vector<std::string>& available);
    // The language's name in that language, for a player who cannot read
    // the one spoken now; the code itself for one the game does not know.
    static std::string ownName(const std::string& code);
};
