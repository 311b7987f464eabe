// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/LanguagePack.h"

#include "objects/ArtSet.h"
#include "objects/ImagePrefetch.h"
#include "utils/Catalogue.h"
#include "utils/FilePack.h"
#include "utils/LanguageChoice.h"
#include "utils/Log.h"
#include "utils/Translation.h"
#include "utils/Utf8.h"

#include <memory>

namespace {

// The pack at `path`, or null with `problem` set; a pack whose table breaks
// off is refused whole, as half a language is no language.
std::unique_ptr<FilePack> openPack(const std::string& path, std::string& problem)
{
    auto pack = std::make_unique<FilePack>();
    pack->setKey(kMainPackKey);
    if (!pack->load(path) || !pack->damage().empty()) {
        problem = path + " " + (pack->damage().empty() ? "is missing" : pack->damage());
        return nullptr;
    }
    return pack;
}

bool loadCatalogue(const FilePack& pack, const std::string& path, Catalogue& catalogue,
                   std::string& problem)
{
    const auto entry = pack.contains(LanguagePack::kCatalogue)
                           ? pack.findFile(LanguagePack::kCatalogue)
                           : std::nullopt;
    if (!entry) {
        problem = path + " holds no " + LanguagePack::kCatalogue;
        return false;
    }
    if (!catalogue.load(entry->data.data(), entry->data.size())) {
        problem = std::string("the catalogue in ") + path + " is damaged: " + catalogue.problem();
        return false;
    }
    if (catalogue.dropped() != 0)
        Log::write("Language %s: %zu translations of its catalogue are unusable and shown in "
                   "English.",
                   path.c_str(), catalogue.dropped());
    return true;
}

// Says once each word the pack's pictures show in English (the art tool's
// list); a damaged list is left unsaid, as it changes nothing drawn.
void sayUntranslated(const FilePack& pack, const std::string& code, const std::string& path)
{
    const auto entry = pack.contains(LanguagePack::kUntranslated)
                           ? pack.findFile(LanguagePack::kUntranslated)
                           : std::nullopt;
    if (!entry)
        return;
    const std::string text(entry->data.begin(), entry->data.end());
    if (text.size() > LanguagePack::kMaxUntranslatedSize || text.find('\0') != std::string::npos ||
        Utf8::valid(text) != text) {
        Log::write("Language %s: the %s in %s is damaged and left unread.", code.c_str(),
                   LanguagePack::kUntranslated, path.c_str());
        return;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        const std::size_t tab = line.find('\t');
        if (tab != 0 && !line.empty())
            Translation::missing(line.substr(0, tab),
                                 tab == std::string::npos ? "" : line.substr(tab + 1));
        start = end + 1;
    }
}

void speakEnglish(FilePack& main)
{
    main.setOverlay(nullptr);
    ArtSet::setFineOverlay(nullptr);
    Translation::use(Catalogue(), "");
}

// Without its fine pictures a language draws its own base pictures at every size.
std::unique_ptr<FilePack> openFine(const std::string& dataFolder, const std::string& code)
{
    if (!ArtSet::hasFine())
        return nullptr;
    const std::string path = dataFolder + LanguagePack::packFile(code, true);
    std::string problem;
    auto pack = openPack(path, problem);
    if (pack == nullptr)
        Log::write("Language %s: %s; its pictures are drawn at the base size.", code.c_str(),
                   problem.c_str());
    return pack;
}

} // namespace

std::string LanguagePack::packFile(const std::string& code, bool fine)
{
    return LanguageChoice::kPackFolder + code + (fine ? "2x.pk" : ".pk");
}

bool LanguagePack::use(FilePack& main, const std::string& dataFolder, const std::string& code)
{
    ImagePrefetch::stop();
    if (code.empty() || code == LanguageChoice::kEnglish) {
        speakEnglish(main);
        return true;
    }
    const std::string path = dataFolder + packFile(code, false);
    std::string problem;
    Catalogue catalogue;
    std::unique_ptr<FilePack> pack = openPack(path, problem);
    if (pack == nullptr || !loadCatalogue(*pack, path, catalogue, problem)) {
        Log::write("Language %s: %s; the game speaks English.", code.c_str(), problem.c_str());
        speakEnglish(main);
        return false;
    }
    Translation::use(std::move(catalogue), code);
    Log::write("Speaking %s.", code.c_str());
    sayUntranslated(*pack, code, path);
    main.setOverlay(std::move(pack));
    ArtSet::setFineOverlay(openFine(dataFolder, code));
    return true;
}

void LanguagePack::follow(FilePack& main, const std::string& dataFolder, const std::string& setting,
                          const LanguageChoice::Environment& environment)
{
    use(main, dataFolder,
        LanguageChoice::choose(setting, environment, LanguageChoice::available(dataFolder)));
}
