// SPDX-License-Identifier: GPL-3.0-or-later
#include "LayerRenderer.h"

#include "Raster.h"
#include "TextTranslator.h"

#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

constexpr double kTwoPi = 6.283185307179586;

double toNumber(const std::string& text, const std::string& option)
{
    try {
        std::size_t used = 0;
        double value = std::stod(text, &used);
        if (used == text.size())
            return value;
    } catch (const std::logic_error&) {
    }
    throw std::runtime_error("option " + option + ": '" + text + "' is not a number");
}

std::vector<double> numbers(const std::string& text, std::size_t count, const std::string& option)
{
    std::vector<double> values;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ','))
        values.push_back(toNumber(part, option));
    if (values.size() != count)
        throw std::runtime_error("option " + option + " needs " + std::to_string(count) +
                                 " numbers, got '" + text + "'");
    return values;
}

double eased(double phase, double t0, double t1)
{
    if (t1 <= t0)
        return phase >= t1 ? 1.0 : 0.0;
    double t = std::clamp((phase - t0) / (t1 - t0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// The state of one layer at one phase.
struct Pose {
    double x = 0, y = 0, w = 0, h = 0; // viewport in frame pixels
    double pivotX = 0, pivotY = 0;
    double dx = 0, dy = 0, angle = 0, scaleX = 1, scaleY = 1, alpha = 1;
};

void applyOption(Pose& pose, const std::string& name, const std::string& value, double p)
{
    double wave = std::sin(kTwoPi * p);
    double beat = 0.5 - 0.5 * std::cos(kTwoPi * p);
    if (name == "rot") {
        pose.angle += toNumber(value, name) * wave;
    } else if (name == "spin") {
        pose.angle += toNumber(value, name) * p;
    } else if (name == "angle") {
        pose.angle += toNumber(value, name);
    } else if (name == "pulse") {
        pose.scaleX *= 1 + toNumber(value, name) * wave;
        pose.scaleY *= 1 + toNumber(value, name) * wave;
    } else if (name == "sx") {
        pose.scaleX *= 1 - toNumber(value, name) * beat;
    } else if (name == "sy") {
        pose.scaleY *= 1 - toNumber(value, name) * beat;
    } else if (name == "bob") {
        pose.dy += toNumber(value, name) * wave;
    } else if (name == "move") {
        auto v = numbers(value, 4, name);
        double k = eased(p, v[2], v[3]);
        pose.dx += v[0] * k;
        pose.dy += v[1] * k;
    } else if (name == "grow") {
        auto v = numbers(value, 4, name);
        double s = v[0] + (v[1] - v[0]) * eased(p, v[2], v[3]);
        pose.scaleX *= s;
        pose.scaleY *= s;
    } else if (name == "fade") {
        auto v = numbers(value, 4, name);
        pose.alpha *= v[0] + (v[1] - v[0]) * eased(p, v[2], v[3]);
    } else if (name == "alpha") {
        pose.alpha *= toNumber(value, name);
    } else if (name != "at" && name != "pivot" && name != "shift" && name != "only") {
        throw std::runtime_error("unknown layer option " + name);
    }
}

Pose poseOf(const Layer& layer, double frameWidth, double frameHeight, double phase)
{
    Pose pose;
    pose.w = frameWidth;
    pose.h = frameHeight;
    auto at = layer.options.find("at");
    if (at != layer.options.end()) {
        auto v = numbers(at->second, 4, "at");
        pose.x = v[0], pose.y = v[1], pose.w = v[2], pose.h = v[3];
    }
    pose.pivotX = pose.x + pose.w / 2;
    pose.pivotY = pose.y + pose.h / 2;
    auto pivot = layer.options.find("pivot");
    if (pivot != layer.options.end()) {
        auto v = numbers(pivot->second, 2, "pivot");
        pose.pivotX = v[0], pose.pivotY = v[1];
    }
    auto shift = layer.options.find("shift");
    double p = phase + (shift != layer.options.end() ? toNumber(shift->second, "shift") : 0.0);
    p -= std::floor(p);
    for (const auto& [name, value] : layer.options)
        applyOption(pose, name, value,
                    name == "move" || name == "grow" || name == "fade" ? phase : p);
    return pose;
}

// One SVG with one set of substitutions is loaded once.
std::string handleKey(const Layer& layer)
{
    std::string key = layer.svg;
    for (const auto& [from, to] : layer.substitutions)
        key += "\n" + from + "\n" + to;
    return key;
}

} // namespace

LayerRenderer::LayerRenderer(std::string sourceDir, double pixelScale,
                             const TextTranslator* translator)
    : m_sourceDir(std::move(sourceDir)), m_pixelScale(pixelScale), m_translator(translator)
{
}

LayerRenderer::~LayerRenderer()
{
    for (auto& [key, handle] : m_handles)
        g_object_unref(handle);
}

const std::string& LayerRenderer::sourceText(const std::string& file)
{
    auto found = m_texts.find(file);
    if (found != m_texts.end())
        return found->second;
    std::ifstream in(m_sourceDir + "/" + file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read the art source " + file);
    std::stringstream text;
    text << in.rdbuf();
    return m_texts[file] = text.str();
}

RsvgHandle* LayerRenderer::handleFor(const Layer& layer)
{
    const std::string key = handleKey(layer);
    auto found = m_handles.find(key);
    if (found != m_handles.end())
        return found->second;
    std::string text = sourceText(layer.svg);
    for (const auto& [from, to] : layer.substitutions) {
        std::size_t at = text.find(from);
        if (at == std::string::npos)
            throw std::runtime_error(layer.svg + " holds no '" + from + "' to replace");
        for (; at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    }
    if (m_translator) {
        TextTranslator::Result translated = m_translator->translate(text, layer.svg);
        text = std::move(translated.svg);
        m_translated[key] = translated.translated > 0;
        m_untranslated[key] = std::move(translated.untranslated);
    }
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(text.data()),
                                                   text.size(), &error);
    if (!handle) {
        std::string message = error ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error(layer.svg + ": " + message);
    }
    m_handles[key] = handle;
    return handle;
}

std::string LayerRenderer::loaded(const Layer& layer)
{
    try {
        handleFor(layer);
    } catch (const std::exception& e) {
        throw std::runtime_error("art manifest line " + std::to_string(layer.line) + ": " +
                                 e.what());
    }
    return handleKey(layer);
}

bool LayerRenderer::translates(const Layer& layer)
{
    return m_translated[loaded(layer)];
}

const std::vector<std::string>& LayerRenderer::untranslated(const Layer& layer)
{
    return m_untranslated[loaded(layer)];
}

void LayerRenderer::render(RsvgHandle* handle, const Layer& layer, cairo_t* cr,
                           const RsvgRectangle& viewport)
{
    GError* error = nullptr;
    if (!rsvg_handle_render_document(handle, cr, &viewport, &error)) {
        std::string message = error ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error(layer.svg + ": " + message);
    }
}

// librsvg refuses some rotations (quarter turns among them), so a turned layer
// is drawn upright at twice the output's size first and the picture is turned instead.
void LayerRenderer::renderTurned(RsvgHandle* handle, const Layer& layer, cairo_t* cr,
                                 const RsvgRectangle& viewport) const
{
    const double oversample = 2.0 * m_pixelScale;
    int w = int(std::ceil(viewport.x + viewport.width)) + 1;
    int h = int(std::ceil(viewport.y + viewport.height)) + 1;
    Surface upright = makeSurface(int(w * oversample), int(h * oversample));
    {
        Context inner(cairo_create(upright.get()));
        cairo_scale(inner.get(), oversample, oversample);
        render(handle, layer, inner.get(), viewport);
    }
    cairo_save(cr);
    cairo_scale(cr, 1 / oversample, 1 / oversample);
    cairo_set_source_surface(cr, upright.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
}

void LayerRenderer::draw(cairo_t* cr, const Layer& layer, double frameWidth, double frameHeight,
                         double phase)
{
    RsvgHandle* handle = nullptr;
    Pose pose;
    try {
        handle = handleFor(layer);
        pose = poseOf(layer, frameWidth, frameHeight, phase);
    } catch (const std::exception& e) {
        throw std::runtime_error("art manifest line " + std::to_string(layer.line) + ": " +
                                 e.what());
    }
    if (pose.alpha <= 0.0)
        return;
    cairo_save(cr);
    cairo_translate(cr, pose.pivotX + pose.dx, pose.pivotY + pose.dy);
    cairo_rotate(cr, pose.angle * kTwoPi / 360.0);
    cairo_scale(cr, pose.scaleX, pose.scaleY);
    cairo_translate(cr, -pose.pivotX, -pose.pivotY);
    if (pose.alpha < 1.0)
        cairo_push_group(cr);
    RsvgRectangle viewport{pose.x, pose.y, pose.w, pose.h};
    if (std::fmod(pose.angle, 360.0) != 0.0)
        renderTurned(handle, layer, cr, viewport);
    else
        render(handle, layer, cr, viewport);
    if (pose.alpha < 1.0) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, pose.alpha);
    }
    cairo_restore(cr);
}
