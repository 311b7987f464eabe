// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FilePack;

// The pictures come in two sets: the base set of the main pack, drawn one
// texel per logical unit, and a fine set at twice the size in a pack of its
// own (data/data2x.pk, same names). The fine set is drawn while the window
// magnifies the logical screen kFineScale times or more. Textures keep the
// base set's sizes for drawing and layout; only their pixels come from the
// fine set. Without a usable fine pack the base set is drawn at every size.
class ArtSet {
public:
    static constexpr float kFineScale = 1.5f;
    static constexpr int kFineFactor = 2;

    // Opens the fine set for pictures of `base`; false, with the reason in
    // the log, when it cannot be used.
    static bool openFine(const FilePack& base, const std::string& packPath);
    static void closeFine();
    static bool hasFine();
    // The language's fine pictures laid over the fine set (null: none). Not
    // while pictures are decoded ahead.
    static void setFineOverlay(std::unique_ptr<FilePack> overlay);
    // Whether the fine set has its own picture of `name` of `base`: a picture
    // the language replaces at the base size only is drawn from the base set,
    // as its English fine picture would speak the wrong language.
    static bool fineHolds(const FilePack& base, const std::string& name);

    // Picks the set for a window showing `pixelsPerUnit` pixels per logical
    // unit; true when the set drawn changes (textures must be read again).
    static bool choose(float pixelsPerUnit);
    static bool fineInUse();

    // The fine picture of `name`, read from `pack`, while the fine set is in
    // use and holds that name.
    static std::optional<std::vector<std::uint8_t>> fineBytes(const FilePack* pack,
                                                              const std::string& name);
    // The fine pack whatever the set drawn, or null without one.
    static const FilePack* finePack();
    // The fine pack while its pictures are drawn for pictures of `base`, or null.
    static const FilePack* finePackFor(const FilePack* base);
    // Logs, once a name, that the fine set's picture did not fit and the
    // base picture is drawn instead.
    static void reportUnfit(const std::string& name);
};
