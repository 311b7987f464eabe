// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextTranslator.h"

#include <librsvg/rsvg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

// A font this much smaller than the source's is still read, but worth a look.
constexpr double kSmallestComfortable = 0.7;
constexpr int kFitAttempts = 5;

bool tagAt(const std::string& svg, std::size_t at, const std::string& name)
{
    if (svg.compare(at + 1, name.size(), name) != 0)
        return false;
    const char next = at + 1 + name.size() < svg.size() ? svg[at + 1 + name.size()] : '\0';
    return next == ' ' || next == '\t' || next == '\n' || next == '>';
}

// The start tags of the <text> elements, as [first, last] positions ('<' and '>').
std::vector<std::pair<std::size_t, std::size_t>> textTags(const std::string& svg)
{
    std::vector<std::pair<std::size_t, std::size_t>> tags;
    for (std::size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1))
        if (tagAt(svg, at, "text"))
            tags.emplace_back(at, svg.find('>', at));
    return tags;
}

// The value of an attribute of the tag, empty when it has none.
std::string attribute(const std::string& tag, const std::string& name)
{
    const std::string key = " " + name + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string::npos)
        return {};
    const std::size_t begin = at + key.size();
    return tag.substr(begin, tag.find('"', begin) - begin);
}

void setAttribute(std::string& tag, const std::string& name, const std::string& value)
{
    const std::string key = " " + name + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string::npos) {
        tag.insert(tag.size() - 1, key + value + "\"");
        return;
    }
    const std::size_t begin = at + key.size();
    tag.replace(begin, tag.find('"', begin) - begin, value);
}

double number(const std::string& text)
{
    return text.empty() ? 0.0 : std::strtod(text.c_str(), nullptr);
}

std::string unescaped(std::string text)
{
    static const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities)
        for (std::size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + 1))
            text.replace(at, std::char_traits<char>::length(entity), character);
    return text;
}

std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

// The picture's width in its own units.
double pictureWidth(const std::string& svg)
{
    const std::size_t at = svg.find("<svg");
    const std::string root = svg.substr(at, svg.find('>', at) - at + 1);
    const std::string viewBox = attribute(root, "viewBox");
    if (!viewBox.empty()) {
        double box[4] = {};
        if (std::sscanf(viewBox.c_str(), "%lf %lf %lf %lf", &box[0], &box[1], &box[2], &box[3]) ==
            4)
            return box[2];
    }
    return number(attribute(root, "width"));
}

// The widest a text may be drawn: its data-max-width, else the picture's room
// on the anchor's side(s).
double roomOf(const std::string& tag, double pictureWide)
{
    const std::string given = attribute(tag, "data-max-width");
    if (!given.empty())
        return number(given);
    const double x = number(attribute(tag, "x"));
    const std::string anchor = attribute(tag, "text-anchor");
    if (anchor == "middle")
        return 2 * std::min(x, pictureWide - x);
    return anchor == "end" ? x : pictureWide - x;
}

// Texts without a letter (numbers, signs) are the same in every language.
bool isWord(const std::string& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

std::string contentAfter(const std::string& svg, std::size_t tagEnd)
{
    return svg.substr(tagEnd + 1, svg.find('<', tagEnd) - tagEnd - 1);
}

struct Handle {
    explicit Handle(const std::string& svg, const std::string& name)
    {
        GError* error = nullptr;
        handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(),
                                           &error);
        if (!handle) {
            std::string message = error ? error->message : "unknown error";
            g_clear_error(&error);
            throw std::runtime_error(name + " (translated): " + message);
        }
    }
    ~Handle() { g_object_unref(handle); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    double width(const std::string& id) const
    {
        RsvgRectangle ink{}, logical{};
        const std::string selector = "#" + id;
        if (!rsvg_handle_get_geometry_for_element(handle, selector.c_str(), &ink, &logical,
                                                  nullptr))
            throw std::runtime_error("cannot measure the text " + id);
        return logical.width;
    }

    RsvgHandle* handle = nullptr;
};

// Shrinks the font of the text tag at `index` by `factor`, its letter spacing with it.
void shrink(std::string& svg, std::size_t index, double factor, const std::string& name)
{
    const auto [first, last] = textTags(svg)[index];
    std::string tag = svg.substr(first, last - first + 1);
    const double size = number(attribute(tag, "font-size"));
    if (size <= 0)
        throw std::runtime_error(name + ": a translated text needs a font-size to be fitted");
    char value[32];
    std::snprintf(value, sizeof value, "%.2f", size * factor);
    setAttribute(tag, "font-size", value);
    const double spacing = number(attribute(tag, "letter-spacing"));
    if (spacing != 0) {
        std::snprintf(value, sizeof value, "%.2f", spacing * factor);
        setAttribute(tag, "letter-spacing", value);
    }
    svg.replace(first, last - first + 1, tag);
}

// Gives every text that is to be measured an id, so librsvg can find it.
std::vector<std::string> nameTexts(std::string& svg, const std::set<std::size_t>& indexes)
{
    std::vector<std::string> ids;
    for (std::size_t index : indexes) {
        const auto [first, last] = textTags(svg)[index];
        std::string tag = svg.substr(first, last - first + 1);
        std::string id = attribute(tag, "id");
        if (id.empty()) {
            id = "vm-fit-" + std::to_string(index);
            setAttribute(tag, "id", id);
            svg.replace(first, last - first + 1, tag);
        }
        ids.push_back(id);
    }
    return ids;
}

// Shrinks each of the given texts that is wider than its room until it fits.
void fit(std::string& svg, const std::set<std::size_t>& indexes, const std::string& name,
         std::set<std::string>& warnings)
{
    const std::vector<std::string> ids = nameTexts(svg, indexes);
    const double pictureWide = pictureWidth(svg);
    std::vector<double> scale(ids.size(), 1.0);
    for (int attempt = 0; attempt < kFitAttempts; ++attempt) {
        const Handle handle(svg, name);
        bool fits = true;
        std::size_t i = 0;
        for (std::size_t index : indexes) {
            const auto [first, last] = textTags(svg)[index];
            const double room = roomOf(svg.substr(first, last - first + 1), pictureWide);
            const double width = handle.width(ids[i]);
            if (width > room) {
                // A little under the ratio, as hinting does not scale exactly.
                const double factor = room / width * 0.99;
                shrink(svg, index, factor, name);
                scale[i] *= factor;
                fits = false;
            }
            ++i;
        }
        if (fits) {
            i = 0;
            for (std::size_t index : indexes)
                if (scale[i++] < kSmallestComfortable)
                    warnings.insert(name + ": '" + contentAfter(svg, textTags(svg)[index].second) +
                                    "' drawn at " + std::to_string(int(scale[i - 1] * 100)) +
                                    " % of its size to fit");
            return;
        }
    }
    throw std::runtime_error(name + ": a translated text does not fit its room");
}

} // namespace

TextTranslator::TextTranslator(const std::string& moPath)
{
    std::ifstream in(moPath, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read the catalogue " + moPath);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (!m_catalogue.load(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))
        throw std::runtime_error(
            moPath + ": not a catalogue the game can read" +
            (m_catalogue.problem().empty() ? "" : " (" + m_catalogue.problem() + ")"));
    if (m_catalogue.dropped() > 0)
        std::fprintf(stderr, "assetgen: %s: %zu translations left out\n", moPath.c_str(),
                     m_catalogue.dropped());
}

TextTranslator::~TextTranslator()
{
    for (const std::string& warning : m_warnings)
        std::fprintf(stderr, "assetgen: %s\n", warning.c_str());
}

TextTranslator::Result TextTranslator::translate(const std::string& svg,
                                                 const std::string& name) const
{
    Result result{svg, 0, {}};
    std::string& out = result.svg;
    std::set<std::size_t> changedTexts;
    std::size_t textIndex = 0;
    for (std::size_t at = out.find('<'); at != std::string::npos; at = out.find('<', at + 1)) {
        const bool text = tagAt(out, at, "text");
        if (!text && !tagAt(out, at, "tspan"))
            continue;
        const std::size_t tagEnd = out.find('>', at);
        if (tagEnd == std::string::npos)
            break;
        const std::string content = contentAfter(out, tagEnd);
        const std::size_t begin = content.find_first_not_of(" \t\n");
        const std::size_t end = content.find_last_not_of(" \t\n");
        const std::string* translation =
            begin == std::string::npos
                ? nullptr
                : m_catalogue.find(unescaped(content.substr(begin, end - begin + 1)));
        if (text)
            ++textIndex;
        if (!translation && isWord(content))
            result.untranslated.push_back(unescaped(content.substr(begin, end - begin + 1)));
        if (!translation || *translation == content.substr(begin, end - begin + 1))
            continue;
        out.replace(tagEnd + 1 + begin, end - begin + 1, escaped(*translation));
        if (textIndex > 0) // a <tspan> is fitted with its <text>
            changedTexts.insert(textIndex - 1);
        ++result.translated;
    }
    if (!changedTexts.empty())
        fit(out, changedTexts, name, m_warnings);
    return result;
}
