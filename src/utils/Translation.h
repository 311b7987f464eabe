// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "utils/Catalogue.h"

#include <string>

// The language the game speaks. English is the source text and needs no
// catalogue; any other language is a catalogue chosen at start-up or on the
// options screen. Read and changed on the main thread only.
class Translation {
public:
    // Speaks the catalogue's language from now on; `code` names it ("de",
    // "pt_BR"), an empty code and catalogue mean English.
    static void use(Catalogue catalogue, const std::string& code);
    static const std::string& code();
    // Changes with every use(), so text kept translated can tell it is stale.
    static unsigned generation();
    // Says in game.log, once per language taken into use, that `english` has
    // no translation and is shown as it is; `where` names what shows it
    // (pictures drawn at build time), if anything.
    static void missing(const std::string& english, const std::string& where = "");
};

// The player's text for `english`: its translation, or `english` itself,
// with the first miss of each text said in game.log. Valid until the
// language changes; keep a copy, not the pointer, across frames.
const char* tr(const char* english);
std::string tr(const std::string& english);
// The player's text for an English pattern holding one integer conversion,
// with `value` put in: a catalogue keeps only translations whose conversions
// are the English ones.
std::string tr(const char* english, int value);

// Marks a text for the catalogue template where it is stored, to be given to
// tr() where it is shown.
constexpr const char* trLater(const char* english)
{
    return english;
}
