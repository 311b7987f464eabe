// SPDX-License-Identifier: GPL-3.0-or-later
#include "Manifest.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// Splits on blanks; a double-quoted run stays one token (the quotes are dropped).
std::vector<std::string> tokenize(const std::string& line)
{
    std::vector<std::string> tokens;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r')) {
            if (any)
                tokens.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any)
        tokens.push_back(current);
    return tokens;
}

[[noreturn]] void fail(int line, const std::string& what)
{
    throw std::runtime_error("art manifest line " + std::to_string(line) + ": " + what);
}

int number(const std::vector<std::string>& t, std::size_t i, int line)
{
    if (i >= t.size())
        fail(line, "a number is missing");
    try {
        std::size_t used = 0;
        int value = std::stoi(t[i], &used);
        if (used != t[i].size() || value <= 0)
            fail(line, "'" + t[i] + "' is not a positive number");
        return value;
    } catch (const std::logic_error&) {
        fail(line, "'" + t[i] + "' is not a number");
    }
}

Layer parseLayer(const std::vector<std::string>& t, int line)
{
    if (t.size() < 2)
        fail(line, "layer needs an SVG file");
    Layer layer;
    layer.svg = t[1];
    layer.line = line;
    for (std::size_t i = 2; i < t.size(); ++i) {
        auto eq = t[i].find('=');
        if (eq == std::string::npos || eq == 0)
            fail(line, "option '" + t[i] + "' is not name=value");
        std::string name = t[i].substr(0, eq);
        std::string value = t[i].substr(eq + 1);
        if (name == "sub") {
            auto colon = value.find('|');
            if (colon == std::string::npos)
                fail(line, "sub needs FROM|TO");
            layer.substitutions.emplace_back(value.substr(0, colon), value.substr(colon + 1));
        } else {
            layer.options.emplace(name, value);
        }
    }
    return layer;
}

Item parseHeader(const std::vector<std::string>& t, int line)
{
    Item item;
    item.line = line;
    const std::string& kind = t[0];
    if (t.size() < 2)
        fail(line, kind + " needs an output name");
    item.output = t[1];
    if (kind == "image") {
        item.width = number(t, 2, line);
        item.height = number(t, 3, line);
        if (t.size() > 4)
            item.quality = number(t, 4, line);
    } else if (kind == "sheet") {
        item.kind = ItemKind::Sheet;
        item.width = number(t, 2, line);
        item.height = number(t, 3, line);
        item.frames = number(t, 4, line);
        item.groups = number(t, 5, line);
    } else if (kind == "sequence") {
        item.kind = ItemKind::Sequence;
        item.frames = number(t, 2, line);
        item.width = number(t, 3, line);
        item.height = number(t, 4, line);
        if (item.output.find("%02d") == std::string::npos)
            fail(line, "a sequence name needs %02d");
    } else if (kind == "gray") {
        item.kind = ItemKind::Gray;
        if (t.size() < 3)
            fail(line, "gray needs the image it copies");
        item.source = t[2];
    } else if (kind == "font") {
        item.kind = ItemKind::Font;
        if (t.size() < 5)
            fail(line, "font needs a TTF file, a pixel size and an image width");
        item.source = t[2];
        item.height = number(t, 3, line);
        item.width = number(t, 4, line);
    } else {
        fail(line, "unknown item '" + kind + "'");
    }
    return item;
}

void checkGroups(const Item& item)
{
    if (item.kind == ItemKind::Sheet && int(item.groupLayers.size()) != item.groups)
        fail(item.line, item.output + " declares " + std::to_string(item.groups) +
                            " groups but defines " + std::to_string(item.groupLayers.size()));
    bool needsLayers = item.kind != ItemKind::Gray && item.kind != ItemKind::Font;
    if (needsLayers && (item.groupLayers.empty() || item.groupLayers.back().empty()))
        fail(item.line, item.output + " has no layers");
}

} // namespace

std::vector<std::string> Item::outputs() const
{
    if (kind != ItemKind::Sequence)
        return {output};
    std::vector<std::string> names;
    for (int i = 0; i < frames; ++i) {
        char buffer[512];
        std::snprintf(buffer, sizeof buffer, output.c_str(), i);
        names.emplace_back(buffer);
    }
    return names;
}

std::vector<Item> readManifest(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read the art manifest " + path);
    std::vector<Item> items;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        auto hash = text.find('#');
        if (hash != std::string::npos &&
            (hash == 0 || text[hash - 1] == ' ' || text[hash - 1] == '\t'))
            text.erase(hash);
        auto t = tokenize(text);
        if (t.empty())
            continue;
        if (t[0] == "layer" || t[0] == "group") {
            if (items.empty())
                fail(line, t[0] + " before any item");
            Item& item = items.back();
            if (t[0] == "group" || item.groupLayers.empty())
                item.groupLayers.emplace_back();
            if (t[0] == "layer")
                item.groupLayers.back().push_back(parseLayer(t, line));
            continue;
        }
        if (!items.empty())
            checkGroups(items.back());
        items.push_back(parseHeader(t, line));
    }
    if (!items.empty())
        checkGroups(items.back());
    return items;
}
