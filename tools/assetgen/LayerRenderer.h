// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Manifest.h"

class TextTranslator;

#include <cairo.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

struct _RsvgHandle;
struct _RsvgRectangle;

// Draws manifest layers: loads each SVG once per set of substitutions and
// applies a layer's animation for the given phase (0 to 1 over the loop).
class LayerRenderer {
public:
    // pixelScale: device pixels per manifest unit of the pictures drawn.
    // translator: the language the pictures' words are drawn in; none, English.
    explicit LayerRenderer(std::string sourceDir, double pixelScale = 1.0,
                           const TextTranslator* translator = nullptr);
    ~LayerRenderer();
    LayerRenderer(const LayerRenderer&) = delete;
    LayerRenderer& operator=(const LayerRenderer&) = delete;

    // Draws the layer into the frame whose top-left corner is at the context's origin.
    void draw(cairo_t* cr, const Layer& layer, double frameWidth, double frameHeight, double phase);
    // Whether the translator changed any of the layer's words.
    bool translates(const Layer& layer);
    // The layer's words the translator left English.
    const std::vector<std::string>& untranslated(const Layer& layer);

private:
    _RsvgHandle* handleFor(const Layer& layer);
    // The key of the layer's loaded source, loading it first.
    std::string loaded(const Layer& layer);
    static void render(_RsvgHandle* handle, const Layer& layer, cairo_t* cr,
                       const _RsvgRectangle& viewport);
    void renderTurned(_RsvgHandle* handle, const Layer& layer, cairo_t* cr,
                      const _RsvgRectangle& viewport) const;
    const std::string& sourceText(const std::string& file);

    std::string m_sourceDir;
    double m_pixelScale;
    const TextTranslator* m_translator;
    std::map<std::string, bool> m_translated;
    std::map<std::string, std::vector<std::string>> m_untranslated;
    std::map<std::string, std::string> m_texts;
    std::map<std::string, _RsvgHandle*> m_handles;
};
