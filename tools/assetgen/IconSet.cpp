// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconSet.h"

#include "Raster.h"

#include <cairo-svg.h>

#include <filesystem>
#include <stdexcept>

namespace {

std::string prepared(const std::filesystem::path& path)
{
    std::filesystem::create_directories(path.parent_path());
    return path.string();
}

// The item's layers, drawn at its design size scaled to the surface.
void drawScaled(cairo_surface_t* surface, const Item& item, LayerRenderer& renderer, double size)
{
    Context cr(cairo_create(surface));
    cairo_scale(cr.get(), size / item.width, size / item.height);
    for (const Layer& layer : item.groupLayers[0])
        renderer.draw(cr.get(), layer, item.width, item.height, 0.0);
}

} // namespace

void writeIconSet(const Item& item, LayerRenderer& renderer, const std::string& outputDir,
                  const std::string& name, const std::vector<int>& sizes)
{
    if (item.kind != ItemKind::Image || item.width != item.height)
        throw std::runtime_error(item.output + " is no square image to make icons of");
    const std::filesystem::path root(outputDir);
    for (int size : sizes) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        Surface surface = makeSurface(size, size);
        drawScaled(surface.get(), item, renderer, size);
        writeImage(surface.get(), prepared(root / folder / "apps" / (name + ".png")), 90);
    }
    const std::string svg = prepared(root / "scalable" / "apps" / (name + ".svg"));
    Surface vectors(cairo_svg_surface_create(svg.c_str(), item.width, item.height));
    drawScaled(vectors.get(), item, renderer, item.width);
    cairo_surface_finish(vectors.get());
    if (cairo_surface_status(vectors.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + svg);
}
