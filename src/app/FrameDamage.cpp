// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrameDamage.h"

#include "objects/FrameRecording.h"
#include "objects/Texture.h"
#include "utils/WordHash.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr std::size_t kFirstRecordSize = 1 << 16;
constexpr std::size_t kLargestRecordSize = 1 << 22;
// x, y, z; red, green, blue, alpha; s, t, r, q.
constexpr int kVertexSize = 11;
// Lines and points may be wide; polygons cover pixel centres inside them.
constexpr int kPolygonMargin = 1;
constexpr int kLineMargin = 8;
// Each region draws the whole frame's primitives once more, clipped to it:
// about the cost of this many pixels.
constexpr long kRegionCostPixels = 64 * 64;
constexpr std::size_t kMostRegions = 8;
constexpr std::size_t kMostChanges = 1024;
// Beyond this share of the buffer one whole drawing is cheaper.
constexpr double kMostChangedShare = 0.6;

long area(const BufferRect& r)
{
    return long(r.width) * long(r.height);
}

BufferRect unite(const BufferRect& a, const BufferRect& b)
{
    const int left = std::min(a.x, b.x);
    const int bottom = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int top = std::max(a.y + a.height, b.y + b.height);
    return {left, bottom, right - left, top - bottom};
}

long joiningCost(const BufferRect& a, const BufferRect& b)
{
    return area(unite(a, b)) - area(a) - area(b);
}

// The pixels whose centres the vertices can reach, within the buffer.
BufferRect coveredPixels(const float* vertices, int count, int margin, int width, int height)
{
    float left = vertices[0], right = vertices[0];
    float bottom = vertices[1], top = vertices[1];
    for (int i = 1; i < count; ++i) {
        const float* vertex = vertices + i * kVertexSize;
        left = std::min(left, vertex[0]);
        right = std::max(right, vertex[0]);
        bottom = std::min(bottom, vertex[1]);
        top = std::max(top, vertex[1]);
    }
    const int x0 = std::clamp(int(std::floor(left)) - margin, 0, width);
    const int y0 = std::clamp(int(std::floor(bottom)) - margin, 0, height);
    const int x1 = std::clamp(int(std::ceil(right)) + margin, 0, width);
    const int y1 = std::clamp(int(std::ceil(top)) + margin, 0, height);
    return {x0, y0, x1 - x0, y1 - y0};
}

struct TokenShape {
    int vertices = 0;
    int margin = 0;
    bool wholeBuffer = false;
};

// How many vertices follow a token and how far its pixels may reach; the
// vertex count of a polygon is read from the record.
bool shapeOf(int token, TokenShape& shape)
{
    switch (token) {
    case GL_POINT_TOKEN:
        shape = {1, kLineMargin, false};
        return true;
    case GL_LINE_TOKEN:
    case GL_LINE_RESET_TOKEN:
        shape = {2, kLineMargin, false};
        return true;
    case GL_POLYGON_TOKEN:
        shape = {0, kPolygonMargin, false};
        return true;
    case GL_BITMAP_TOKEN:
    case GL_DRAW_PIXEL_TOKEN:
    case GL_COPY_PIXEL_TOKEN:
        // Only the raster position is recorded, not the size.
        shape = {1, 0, true};
        return true;
    default:
        return false;
    }
}

} // namespace

FrameDamage::FrameDamage() : m_record(kFirstRecordSize) {}

void FrameDamage::begin(int width, int height)
{
    if (width != m_width || height != m_height)
        m_known = false;
    m_width = width;
    m_height = height;
    m_scissorWasOn = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
    glGetIntegerv(GL_SCISSOR_BOX, m_scissorBox.data());
    glFeedbackBuffer(GLsizei(m_record.size()), GL_3D_COLOR_TEXTURE, m_record.data());
    glRenderMode(GL_FEEDBACK);
    // Clears are not primitives: an empty scissor keeps them off the pixels.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
    FrameRecording::start(width, height);
}

FrameDamage::Regions FrameDamage::finish()
{
    FrameRecording::stop();
    const GLint count = glRenderMode(GL_RENDER);
    glScissor(m_scissorBox[0], m_scissorBox[1], m_scissorBox[2], m_scissorBox[3]);
    if (!m_scissorWasOn)
        glDisable(GL_SCISSOR_TEST);
    if (count < 0 && m_record.size() < kLargestRecordSize)
        m_record.resize(m_record.size() * 2);
    std::vector<Primitive> now;
    const bool readable = count >= 0 && read(m_record.data(), count, m_width, m_height, now);
    const std::uint64_t uploads = Texture::uploadCount();
    Regions regions;
    if (m_known && readable && uploads == m_uploads)
        regions = compare(now);
    m_uploads = uploads;
    m_known = readable;
    m_last = std::move(now);
    return regions;
}

FrameDamage::Regions FrameDamage::compare(const std::vector<Primitive>& now) const
{
    Regions regions;
    std::vector<BufferRect> changed = changes(m_last, now);
    if (changed.size() > kMostChanges)
        return regions;
    changed = join(std::move(changed), kMostRegions);
    long changedArea = 0;
    for (const BufferRect& rect : changed)
        changedArea += area(rect);
    if (double(changedArea) > kMostChangedShare * double(m_width) * double(m_height))
        return regions;
    regions.whole = false;
    regions.rects = std::move(changed);
    return regions;
}

bool FrameDamage::read(const float* record, int count, int width, int height,
                       std::vector<Primitive>& out)
{
    // The values of a run of pass-through tokens (FrameRecording's digest of
    // the drawing state) hold for the primitives after them.
    WordHash state;
    bool inPassThrough = false;
    for (int at = 0; at < count;) {
        const int token = int(record[at++]);
        if (token == GL_PASS_THROUGH_TOKEN) {
            if (at >= count)
                return false;
            if (!inPassThrough)
                state = WordHash();
            inPassThrough = true;
            state.addWords(record + at++, 1);
            continue;
        }
        inPassThrough = false;
        TokenShape shape;
        if (!shapeOf(token, shape))
            return false;
        if (shape.vertices == 0) {
            if (at >= count)
                return false;
            shape.vertices = int(record[at++]);
        }
        const int size = shape.vertices * kVertexSize;
        if (shape.vertices <= 0 || size > count - at)
            return false;
        WordHash key;
        const float kind = float(token);
        key.addWords(&kind, 1);
        key.add(state.value());
        key.addWords(record + at, size);
        const BufferRect bounds = shape.wholeBuffer ? BufferRect{0, 0, width, height}
                                                    : coveredPixels(record + at, shape.vertices,
                                                                    shape.margin, width, height);
        out.push_back({key.value(), bounds});
        at += size;
    }
    return true;
}

std::vector<BufferRect> FrameDamage::changes(const std::vector<Primitive>& before,
                                             const std::vector<Primitive>& after)
{
    std::vector<BufferRect> rects;
    const auto note = [&rects](const BufferRect& rect) {
        if (rect.width > 0 && rect.height > 0)
            rects.push_back(rect);
    };
    // When primitives come or go (a sprite leaving the screen is not drawn),
    // those after them are matched from the end, so the rest of the frame
    // does not count as changed for having moved along in the sequence.
    const std::size_t common = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < common && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    if (before.size() != after.size())
        while (tail < common - head &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
    const std::size_t beforeEnd = before.size() - tail;
    const std::size_t afterEnd = after.size() - tail;
    const std::size_t paired = std::min(beforeEnd, afterEnd);
    for (std::size_t i = head; i < paired; ++i) {
        if (before[i] == after[i])
            continue;
        note(before[i].bounds);
        note(after[i].bounds);
    }
    for (std::size_t i = paired; i < beforeEnd; ++i)
        note(before[i].bounds);
    for (std::size_t i = paired; i < afterEnd; ++i)
        note(after[i].bounds);
    return rects;
}

std::vector<BufferRect> FrameDamage::join(std::vector<BufferRect> rects, std::size_t maxCount)
{
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t i = 0; i < rects.size(); ++i) {
            for (std::size_t j = i + 1; j < rects.size();) {
                if (joiningCost(rects[i], rects[j]) > kRegionCostPixels) {
                    ++j;
                    continue;
                }
                rects[i] = unite(rects[i], rects[j]);
                rects.erase(rects.begin() + std::ptrdiff_t(j));
                joined = true;
                j = i + 1;
            }
        }
    }
    while (rects.size() > std::max<std::size_t>(maxCount, 1)) {
        std::size_t bestI = 0, bestJ = 1;
        long best = joiningCost(rects[0], rects[1]);
        for (std::size_t i = 0; i < rects.size(); ++i)
            for (std::size_t j = i + 1; j < rects.size(); ++j)
                if (const long cost = joiningCost(rects[i], rects[j]); cost < best) {
                    best = cost;
                    bestI = i;
                    bestJ = j;
                }
        rects[bestI] = unite(rects[bestI], rects[bestJ]);
        rects.erase(rects.begin() + std::ptrdiff_t(bestJ));
    }
    return rects;
}
