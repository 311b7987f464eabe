// SPDX-License-Identifier: GPL-3.0-or-later
// assetgen: renders every generated picture of the game from the SVG sources
// listed in the art manifest, and a contact sheet of all of them; or the
// desktop icon set from one item of the manifest. With --scale 2 every picture
// has twice the manifest's width and height (the same drawing, finer pixels).
// With --catalogue, only the pictures whose words the catalogue translates are
// drawn, in its language, and their names are listed instead of a contact sheet;
// OUTPUT_DIR/lang/untranslated.txt lists the words drawn in English for want of
// a translation, one a line with a tab and the pictures that show it.
//   assetgen [--scale N] MANIFEST SOURCE_DIR OUTPUT_DIR CONTACT_SHEET.png
//   assetgen [--scale N] --catalogue FILE.mo MANIFEST SOURCE_DIR OUTPUT_DIR LIST.txt
//   assetgen icons MANIFEST SOURCE_DIR ITEM OUTPUT_DIR NAME SIZE,SIZE,...
#include "ContactSheet.h"
#include "FontAtlas.h"
#include "IconSet.h"
#include "LayerRenderer.h"
#include "Manifest.h"
#include "Raster.h"
#include "TextTranslator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

// As the game reads it from a language's pack.
constexpr const char* kUntranslated = "lang/untranslated.txt";

// A layer with only=N belongs to frame N alone (frames that are separate pictures).
bool drawnInFrame(const Layer& layer, int frame)
{
    auto only = layer.options.find("only");
    return only == layer.options.end() || only->second == std::to_string(frame);
}

class AssetBuild {
public:
    AssetBuild(const std::string& sourceDir, std::string outputDir, int scale,
               const TextTranslator* translator)
        : m_renderer(sourceDir, scale, translator), m_sourceDir(sourceDir),
          m_outputDir(std::move(outputDir)), m_scale(scale), m_wordedOnly(translator != nullptr)
    {
    }

    void build(const Item& item)
    {
        if (m_wordedOnly && !hasTranslatedWords(item))
            return;
        switch (item.kind) {
        case ItemKind::Image:
            keep(item.output, renderFrame(item, item.groupLayers[0], 0.0), item);
            break;
        case ItemKind::Sheet:
            keep(item.output, renderSheet(item), item);
            break;
        case ItemKind::Sequence:
            buildSequence(item);
            break;
        case ItemKind::Gray:
            keep(item.output, grayCopy(built(item.source, item)), item);
            break;
        case ItemKind::Font:
            keep(item.output, renderFontAtlas(item.source, item.height, item.width, m_scale), item);
            break;
        }
    }

    void writeContactSheetTo(const std::string& path) const
    {
        std::vector<std::pair<std::string, cairo_surface_t*>> images;
        for (const auto& name : m_order)
            images.emplace_back(name, m_built.at(name).get());
        writeContactSheet(images, path);
    }

    void writeListTo(const std::string& path) const
    {
        std::ofstream out(path);
        for (const auto& name : m_order)
            out << name << '\n';
        if (!out.flush())
            throw std::runtime_error("cannot write " + path);
    }

    // Written even when empty, so no list of an earlier build is left standing.
    void writeUntranslated() const
    {
        const std::filesystem::path path = std::filesystem::path(m_outputDir) / kUntranslated;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        for (const auto& [word, pictures] : m_untranslated) {
            out << oneLine(word) << '\t';
            for (std::size_t i = 0; i < pictures.size(); ++i)
                out << (i == 0 ? "" : ", ") << pictures[i];
            out << '\n';
        }
        if (!out.flush())
            throw std::runtime_error("cannot write " + path.string());
    }

private:
    // In a language's build, only the pictures with words of that language are
    // drawn (a gray copy with its source); every other picture stays English.
    // Notes the words left English on the way, by picture.
    bool hasTranslatedWords(const Item& item)
    {
        if (item.kind == ItemKind::Gray)
            return m_built.count(item.source) > 0;
        bool translated = false;
        for (const auto& layers : item.groupLayers)
            for (const Layer& layer : layers) {
                translated = m_renderer.translates(layer) || translated;
                for (const std::string& word : m_renderer.untranslated(layer)) {
                    auto& pictures = m_untranslated[word];
                    if (std::find(pictures.begin(), pictures.end(), item.output) == pictures.end())
                        pictures.push_back(item.output);
                }
            }
        return translated;
    }

    static std::string oneLine(std::string text)
    {
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\n' || c == '\t' || c == '\r'; },
            ' ');
        return text;
    }

    // A surface of the given size in manifest units, drawn on in those units.
    std::pair<Surface, Context> canvas(int width, int height) const
    {
        Surface surface = makeSurface(width * m_scale, height * m_scale);
        Context cr(cairo_create(surface.get()));
        if (m_scale != 1)
            cairo_scale(cr.get(), m_scale, m_scale);
        return {std::move(surface), std::move(cr)};
    }

    Surface renderFrame(const Item& item, const std::vector<Layer>& layers, double phase)
    {
        if (layers.size() < 2) {
            auto [surface, cr] = canvas(item.width, item.height);
            for (const Layer& layer : layers)
                m_renderer.draw(cr.get(), layer, item.width, item.height, phase);
            return surface;
        }
        auto [surface, cr] = copyOfBackdrop(item, layers, phase);
        m_renderer.draw(cr.get(), layers.back(), item.width, item.height, phase);
        return std::move(surface);
    }

    // A picture's layers but the top one are often a backdrop that the next
    // picture shares (the garden under every menu screen): drawn once, copied.
    std::pair<Surface, Context> copyOfBackdrop(const Item& item, const std::vector<Layer>& layers,
                                               double phase)
    {
        std::string key = std::to_string(item.width) + "x" + std::to_string(item.height) + "@" +
                          std::to_string(phase);
        for (std::size_t i = 0; i + 1 < layers.size(); ++i)
            key += "\n" + describe(layers[i]);
        if (key != m_backdropKey) {
            auto [backdrop, cr] = canvas(item.width, item.height);
            for (std::size_t i = 0; i + 1 < layers.size(); ++i)
                m_renderer.draw(cr.get(), layers[i], item.width, item.height, phase);
            m_backdrop = std::move(backdrop);
            m_backdropKey = key;
        }
        auto [surface, cr] = canvas(item.width, item.height);
        cairo_surface_flush(m_backdrop.get());
        const std::size_t bytes = std::size_t(cairo_image_surface_get_stride(m_backdrop.get())) *
                                  cairo_image_surface_get_height(m_backdrop.get());
        std::memcpy(cairo_image_surface_get_data(surface.get()),
                    cairo_image_surface_get_data(m_backdrop.get()), bytes);
        cairo_surface_mark_dirty(surface.get());
        return {std::move(surface), std::move(cr)};
    }

    static std::string describe(const Layer& layer)
    {
        std::string text = layer.svg;
        for (const auto& [from, to] : layer.substitutions)
            text += " sub=" + from + "|" + to;
        for (const auto& [name, value] : layer.options)
            text += " " + name + "=" + value;
        return text;
    }

    // Frames left to right; group 0 is the bottom row, as the game's sprites read it.
    Surface renderSheet(const Item& item)
    {
        auto [sheet, cr] = canvas(item.width * item.frames, item.height * item.groups);
        for (int g = 0; g < item.groups; ++g)
            for (int f = 0; f < item.frames; ++f) {
                cairo_save(cr.get());
                cairo_translate(cr.get(), f * item.width, (item.groups - 1 - g) * item.height);
                cairo_rectangle(cr.get(), 0, 0, item.width, item.height);
                cairo_clip(cr.get());
                for (const Layer& layer : item.groupLayers[g])
                    if (drawnInFrame(layer, f))
                        m_renderer.draw(cr.get(), layer, item.width, item.height,
                                        double(f) / item.frames);
                cairo_restore(cr.get());
            }
        return sheet;
    }

    void buildSequence(const Item& item)
    {
        auto names = item.outputs();
        for (int i = 0; i < item.frames; ++i)
            keep(names[i], renderFrame(item, item.groupLayers[0], double(i) / item.frames), item);
    }

    cairo_surface_t* built(const std::string& name, const Item& item) const
    {
        auto found = m_built.find(name);
        if (found == m_built.end())
            throw std::runtime_error("line " + std::to_string(item.line) + ": " + name +
                                     " is not built before it is used");
        return found->second.get();
    }

    void keep(const std::string& name, Surface surface, const Item& item)
    {
        std::filesystem::path path = std::filesystem::path(m_outputDir) / name;
        std::filesystem::create_directories(path.parent_path());
        writeImage(surface.get(), path.string(), item.quality,
                   item.kind == ItemKind::Font ? TgaPacking::Plain : TgaPacking::RunLength);
        if (!m_built.count(name))
            m_order.push_back(name);
        m_built[name] = std::move(surface);
    }

    LayerRenderer m_renderer;
    std::string m_sourceDir;
    std::string m_outputDir;
    int m_scale;
    bool m_wordedOnly; // a language's build: its worded pictures alone
    Surface m_backdrop;
    std::string m_backdropKey;
    std::map<std::string, Surface> m_built;
    std::vector<std::string> m_order;
    std::map<std::string, std::vector<std::string>> m_untranslated;
};

std::vector<int> sizeList(const std::string& text)
{
    std::vector<int> sizes;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        const int size = std::atoi(part.c_str());
        if (size < 1 || size > 4096)
            throw std::runtime_error("icon size '" + part + "' is not between 1 and 4096");
        sizes.push_back(size);
    }
    return sizes;
}

void buildIcons(char** argv)
{
    const auto items = readManifest(argv[0]);
    for (const Item& item : items)
        if (item.output == argv[2]) {
            LayerRenderer renderer(argv[1]);
            writeIconSet(item, renderer, argv[3], argv[4], sizeList(argv[5]));
            return;
        }
    throw std::runtime_error(std::string("the manifest holds no item ") + argv[2]);
}

struct Options {
    int scale = 1; // 0 when bad
    std::string catalogue;
};

void buildAll(char** argv, const Options& options)
{
    auto items = readManifest(argv[0]);
    std::unique_ptr<TextTranslator> translator;
    if (!options.catalogue.empty())
        translator = std::make_unique<TextTranslator>(options.catalogue);
    AssetBuild build(argv[1], argv[2], options.scale, translator.get());
    for (const Item& item : items)
        build.build(item);
    if (translator) {
        build.writeListTo(argv[3]);
        build.writeUntranslated();
    } else
        build.writeContactSheetTo(argv[3]);
}

// The leading "--scale N" (1 to 4) and "--catalogue FILE", moving argv past them.
Options takeOptions(int& argc, char**& argv)
{
    Options options;
    while (argc >= 3) {
        const std::string name = argv[1];
        if (name == "--scale") {
            options.scale = std::atoi(argv[2]);
            if (options.scale < 1 || options.scale > 4)
                options.scale = 0;
        } else if (name == "--catalogue") {
            options.catalogue = argv[2];
        } else {
            break;
        }
        argc -= 2;
        argv += 2;
    }
    return options;
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = takeOptions(argc, argv);
    const bool icons = argc > 1 && std::string(argv[1]) == "icons";
    if (options.scale == 0 ||
        (icons ? argc != 8 || options.scale != 1 || !options.catalogue.empty() : argc != 5)) {
        std::fprintf(stderr, "usage: assetgen [--scale 1-4] MANIFEST SOURCE_DIR OUTPUT_DIR "
                             "CONTACT_SHEET.png\n"
                             "       assetgen [--scale 1-4] --catalogue FILE.mo MANIFEST "
                             "SOURCE_DIR OUTPUT_DIR LIST.txt\n"
                             "       assetgen icons MANIFEST SOURCE_DIR ITEM OUTPUT_DIR NAME "
                             "SIZE,SIZE,...\n");
        return 2;
    }
    try {
        if (icons)
            buildIcons(argv + 2);
        else
            buildAll(argv + 1, options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
