// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "utils/LanguageChoice.h"

#include <cstddef>
#include <string>

class FilePack;

// Puts a language in place: its catalogue for tr(), and its pack of pictures
// with words over the main pack (data/lang/<code>.pk over data/data.pk, and
// data/lang/<code>2x.pk over the fine set). English has no pack.
class LanguagePack {
public:
    // The catalogue's name inside a language pack.
    static constexpr const char* kCatalogue = "lang/vellomar.mo";
    // The words its pictures show in English for want of a translation, one
    // a line: the word, a tab and the pictures it is in. Absent: none.
    static constexpr const char* kUntranslated = "lang/untranslated.txt";
    static constexpr std::size_t kMaxUntranslatedSize = 256u << 10;

    // The game folder's name of `code`'s pack ("data/lang/de.pk", fine: "data/lang/de2x.pk").
    static std::string packFile(const std::string& code, bool fine);
    // Speaks `code` from now on, or English ("en"): false, and English with
    // the reason in game.log, when its pack is missing, damaged or holds no
    // usable catalogue. Stops the decoding ahead, which reads the packs;
    // textures already read keep their pictures until read again.
    static bool use(FilePack& main, const std::string& dataFolder, const std::string& code);
    // The language `setting` names when the game has its pack, else the
    // environment's (LanguageChoice), put in place by use().
    static void follow(FilePack& main, const std::string& dataFolder, const std::string& setting,
                       const LanguageChoice::Environment& environment);
};
