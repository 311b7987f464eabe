// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/ArtSet.h"

#include "objects/ImagePrefetch.h"
#include "utils/FilePack.h"
#include "utils/Log.h"

#include <memory>
#include <set>

namespace {

struct FineSet {
    std::unique_ptr<FilePack> pack;
    const FilePack* base = nullptr;
    std::string path;
    bool wanted = false;
    std::set<std::string> unfit;
};

FineSet& fine()
{
    static FineSet set;
    return set;
}

} // namespace

bool ArtSet::openFine(const FilePack& base, const std::string& packPath)
{
    closeFine();
    auto pack = std::make_unique<FilePack>();
    pack->setKey(kMainPackKey);
    if (!pack->load(packPath)) {
        Log::write("Fine pictures: %s is missing or not a pack; the base pictures are drawn at "
                   "every size.",
                   packPath.c_str());
        return false;
    }
    if (pack->entryCount() == 0) {
        Log::write("Fine pictures: %s holds no pictures; the base pictures are drawn at every "
                   "size.",
                   packPath.c_str());
        return false;
    }
    FineSet& set = fine();
    set.pack = std::move(pack);
    set.base = &base;
    set.path = packPath;
    return true;
}

void ArtSet::closeFine()
{
    FineSet& set = fine();
    if (set.pack != nullptr)
        ImagePrefetch::stop(); // it may be reading the pack
    set.pack.reset();
    set.base = nullptr;
    set.unfit.clear();
}

bool ArtSet::hasFine()
{
    return fine().pack != nullptr;
}

void ArtSet::setFineOverlay(std::unique_ptr<FilePack> overlay)
{
    if (FilePack* pack = fine().pack.get())
        pack->setOverlay(std::move(overlay));
}

bool ArtSet::fineHolds(const FilePack& base, const std::string& name)
{
    const FilePack* pack = fine().pack.get();
    if (pack == nullptr || !pack->contains(name))
        return false;
    const FilePack* language = base.overlay();
    const FilePack* fineLanguage = pack->overlay();
    return language == nullptr || !language->contains(name) ||
           (fineLanguage != nullptr && fineLanguage->contains(name));
}

bool ArtSet::choose(float pixelsPerUnit)
{
    // A window of no size (minimised, not yet shown) keeps what it draws.
    if (!(pixelsPerUnit > 0.0f))
        return false;
    const bool before = fineInUse();
    fine().wanted = pixelsPerUnit >= kFineScale;
    const bool changed = fineInUse() != before;
    if (changed)
        Log::write("Drawing the %s pictures (%.2f pixels a unit).", before ? "base" : "fine",
                   double(pixelsPerUnit));
    return changed;
}

bool ArtSet::fineInUse()
{
    return fine().wanted && hasFine();
}

std::optional<std::vector<std::uint8_t>> ArtSet::fineBytes(const FilePack* pack,
                                                           const std::string& name)
{
    const FineSet& set = fine();
    // Only the pack's own entries: its disk fallback would find the base picture.
    if (!fineInUse() || pack == nullptr || pack != set.base || !fineHolds(*pack, name))
        return std::nullopt;
    std::optional<PackEntry> entry = set.pack->findFile(name);
    if (!entry || entry->data.empty())
        return std::nullopt;
    return std::move(entry->data);
}

const FilePack* ArtSet::finePack()
{
    return fine().pack.get();
}

const FilePack* ArtSet::finePackFor(const FilePack* base)
{
    return fineInUse() && base != nullptr && base == fine().base ? fine().pack.get() : nullptr;
}

void ArtSet::reportUnfit(const std::string& name)
{
    FineSet& set = fine();
    if (set.unfit.insert(name).second)
        Log::write("Fine pictures: %s in %s is not a picture of twice the base size; the base "
                   "picture is drawn.",
                   name.c_str(), set.path.c_str());
}
