// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "utils/Catalogue.h"

#include <set>
#include <string>
#include <vector>

// Puts one language into the SVG sources: the content of every <text> and
// <tspan> the catalogue translates is replaced by its translation (the rest
// stays English), and a translated text wider than its room is drawn in a
// smaller font until it fits. The room is a text's data-max-width attribute,
// else what the picture leaves beside its anchor.
class TextTranslator {
public:
    // Throws std::runtime_error when the file is no readable catalogue.
    explicit TextTranslator(const std::string& moPath);
    // Says which texts had to shrink much, once each.
    ~TextTranslator();
    TextTranslator(const TextTranslator&) = delete;
    TextTranslator& operator=(const TextTranslator&) = delete;

    struct Result {
        std::string svg;
        int translated = 0; // texts replaced
        // The words the catalogue has no translation for, left English.
        std::vector<std::string> untranslated;
    };
    // `name` is the source's, for messages; throws when a text cannot be fitted.
    Result translate(const std::string& svg, const std::string& name) const;

private:
    Catalogue m_catalogue;
    mutable std::set<std::string> m_warnings;
};
