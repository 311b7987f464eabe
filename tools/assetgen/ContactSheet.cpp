// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContactSheet.h"

#include "Raster.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int kTile = 200;
constexpr int kLabel = 16;
constexpr int kColumns = 8;

void checkerboard(cairo_t* cr, double x, double y, double size)
{
    for (int i = 0; i < int(size) / 10; ++i)
        for (int j = 0; j < int(size) / 10; ++j) {
            double shade = (i + j) % 2 ? 0.55 : 0.7;
            cairo_set_source_rgb(cr, shade, shade, shade);
            cairo_rectangle(cr, x + i * 10, y + j * 10, 10, 10);
            cairo_fill(cr);
        }
}

void tile(cairo_t* cr, const std::string& name, cairo_surface_t* image, double x, double y)
{
    checkerboard(cr, x, y, kTile);
    double w = cairo_image_surface_get_width(image);
    double h = cairo_image_surface_get_height(image);
    double scale = std::min(1.0, std::min(kTile / w, kTile / h));
    cairo_save(cr);
    cairo_translate(cr, x + (kTile - w * scale) / 2, y + (kTile - h * scale) / 2);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 10);
    cairo_move_to(cr, x + 2, y + kTile + 12);
    std::string label = name + " " + std::to_string(int(w)) + "x" + std::to_string(int(h));
    cairo_show_text(cr, label.c_str());
}

} // namespace

void writeContactSheet(const std::vector<std::pair<std::string, cairo_surface_t*>>& images,
                       const std::string& path)
{
    int rows = (int(images.size()) + kColumns - 1) / kColumns;
    int cell = kTile + kLabel + 8;
    Surface sheet = makeSurface(kColumns * (kTile + 8) + 8, std::max(1, rows) * cell + 8);
    Context cr(cairo_create(sheet.get()));
    cairo_set_source_rgb(cr.get(), 0.13, 0.13, 0.16);
    cairo_paint(cr.get());
    for (std::size_t i = 0; i < images.size(); ++i) {
        double x = 8 + double(i % kColumns) * (kTile + 8);
        double y = 8 + double(i / kColumns) * cell;
        tile(cr.get(), images[i].first, images[i].second, x, y);
    }
    cr.reset();
    writeImage(sheet.get(), path, 90);
}
