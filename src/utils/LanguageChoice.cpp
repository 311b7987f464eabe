// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/LanguageChoice.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kPackSuffix = ".pk";

bool contains(const std::vector<std::string>& codes, const std::string& code)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Letters and one underscore, as in "de" and "pt_BR": a file name that is no
// code (a fine pack, a stray file) is no language.
bool isCode(const std::string& name)
{
    if (name.empty() || name.size() > 16 || name.front() == '_' || name.back() == '_')
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    });
}

// "de_DE.UTF-8@euro" without its codeset and modifier: "de_DE".
std::string localeName(const std::string& name)
{
    return name.substr(0, name.find_first_of(".@"));
}

// The first of `name`'s ll_CC and ll that is available, or "".
std::string match(const std::string& name, const std::vector<std::string>& available)
{
    const std::string full = localeName(name);
    if (full.empty())
        return {};
    if (contains(available, full))
        return full;
    const std::string language = full.substr(0, full.find('_'));
    return contains(available, language) ? language : std::string();
}

std::string splitOff(std::string& list)
{
    const std::size_t colon = list.find(':');
    std::string first = list.substr(0, colon);
    list = colon == std::string::npos ? std::string() : list.substr(colon + 1);
    return first;
}

} // namespace

std::vector<std::string> LanguageChoice::available(const std::string& dataFolder)
{
    std::vector<std::string> codes;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(dataFolder + kPackFolder);
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path& path = it->path();
        const std::string code = path.stem().string();
        // "de2x.pk", the fine pictures, is no code.
        if (path.extension() == kPackSuffix && isCode(code) && code != kEnglish)
            codes.push_back(code);
    }
    std::sort(codes.begin(), codes.end());
    codes.insert(codes.begin(), kEnglish);
    return codes;
}

std::string LanguageChoice::fromEnvironment(const Environment& environment,
                                            const std::vector<std::string>& available)
{
    std::string locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment(variable);
        if (!locale.empty())
            break;
    }
    const std::string bare = localeName(locale);
    if (bare.empty() || bare == "C" || bare == "POSIX")
        return kEnglish;
    std::string list = environment("LANGUAGE");
    while (!list.empty())
        if (std::string code = match(splitOff(list), available); !code.empty())
            return code;
    const std::string code = match(locale, available);
    return code.empty() ? kEnglish : code;
}

std::string LanguageChoice::choose(const std::string& setting, const Environment& environment,
                                   const std::vector<std::string>& available)
{
    if (!setting.empty() && contains(available, setting))
        return setting;
    return fromEnvironment(environment, available);
}

std::string LanguageChoice::ownName(const std::string& code)
{
    static const std::pair<const char*, const char*> kNames[] = {
        {"en", "English"},    {"de", "Deutsch"},  {"fr", "Français"},
        {"es", "Español"},    {"it", "Italiano"}, {"pt_BR", "Português (Brasil)"},
        {"nl", "Nederlands"}, {"pl", "Polski"},   {"pseudo", "Pseudo"}};
    for (const auto& [known, name] : kNames)
        if (code == known)
            return name;
    return code;
}
