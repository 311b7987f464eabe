// SPDX-License-Identifier: GPL-3.0-or-later
#include "Notation.h"

#include <cctype>
#include <cstdlib>
#include <map>

namespace soundgen {

namespace {

std::optional<int> letterSemitone(char letter)
{
    static const int semis[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    if (c < 'a' || c > 'g')
        return std::nullopt;
    return semis[c - 'a'];
}

// Root letter and accidental at the start of text; returns the characters used, 0 on failure.
size_t parseRoot(const std::string& text, int& semitone)
{
    if (text.empty())
        return 0;
    auto base = letterSemitone(text[0]);
    if (!base)
        return 0;
    semitone = *base;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        semitone += text[1] == '#' ? 1 : -1;
        return 2;
    }
    return 1;
}

bool parseInt(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 4)
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    value = std::atoi(text.c_str());
    return true;
}

} // namespace

std::optional<int> parseNoteName(const std::string& text)
{
    int semitone = 0;
    const size_t used = parseRoot(text, semitone);
    if (used == 0 || text.size() != used + 1 ||
        !std::isdigit(static_cast<unsigned char>(text[used])))
        return std::nullopt;
    const int note = 12 * (text[used] - '0') + semitone + 1;
    if (note < 1 || note > 96)
        return std::nullopt;
    return note;
}

std::optional<Chord> parseChord(const std::string& text)
{
    static const std::map<std::string, std::vector<int>> qualities = {
        {"", {0, 4, 7}},           {"m", {0, 3, 7}},
        {"7", {0, 4, 7, 10}},      {"maj7", {0, 4, 7, 11}},
        {"m7", {0, 3, 7, 10}},     {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},      {"9", {0, 4, 7, 10, 14}},
        {"m9", {0, 3, 7, 10, 14}}, {"maj9", {0, 4, 7, 11, 14}},
        {"add9", {0, 4, 7, 14}},   {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},       {"dim", {0, 3, 6}},
        {"aug", {0, 4, 8}},        {"m7b5", {0, 3, 6, 10}}};
    if (text.empty() || !std::isupper(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    Chord chord;
    const size_t used = parseRoot(text, chord.root);
    if (used == 0)
        return std::nullopt;
    auto it = qualities.find(text.substr(used));
    if (it == qualities.end())
        return std::nullopt;
    chord.root = (chord.root + 12) % 12;
    chord.intervals = it->second;
    return chord;
}

std::vector<int> chordTonesFrom(const Chord& chord, int base)
{
    int root = base;
    while ((root - 1) % 12 != chord.root)
        ++root;
    std::vector<int> tones;
    for (int interval : chord.intervals)
        tones.push_back(root + interval);
    return tones;
}

bool parseEffect(const std::string& text, uint8_t& effect, uint8_t& param)
{
    if (text.size() != 3)
        return false;
    const char e = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (std::isdigit(static_cast<unsigned char>(e)))
        effect = static_cast<uint8_t>(e - '0');
    else if (e >= 'A' && e <= 'Z')
        effect = static_cast<uint8_t>(e - 'A' + 10);
    else
        return false;
    char* end = nullptr;
    const std::string hex = text.substr(1);
    const long value = std::strtol(hex.c_str(), &end, 16);
    if (!end || *end != '\0' || !std::isxdigit(static_cast<unsigned char>(hex[0])))
        return false;
    param = static_cast<uint8_t>(value);
    return true;
}

std::optional<Token> parseToken(const std::string& text, std::string& problem)
{
    Token token;
    const size_t mark = text.find_first_of(":@/*");
    token.head = text.substr(0, mark);
    if (token.head.empty()) {
        problem = "\"" + text + "\" has no note, chord or rest";
        return std::nullopt;
    }
    for (size_t at = mark; at != std::string::npos;) {
        const size_t next = text.find_first_of(":@/*", at + 1);
        const std::string value =
            text.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1);
        const char kind = text[at];
        bool ok = true;
        if (kind == ':')
            ok = parseInt(value, token.rows) && token.rows > 0;
        else if (kind == '@')
            ok = parseInt(value, token.volume) && token.volume <= 64;
        else {
            ok = !token.hasEffect && parseEffect(value, token.effect, token.param);
            token.hasEffect = true;
            token.effectEveryRow = kind == '*';
        }
        if (!ok) {
            problem = "\"" + text + "\": bad " +
                      (kind == ':'   ? "length"
                       : kind == '@' ? "volume (0..64)"
                                     : "effect (one per token, like A04)");
            return std::nullopt;
        }
        at = next;
    }
    return token;
}

} // namespace soundgen
