// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class FilePack;
class Texture;

// x, y, z, w.
using SpriteVector = std::array<float, 4>;

// An animated picture cut into a grid: columns are the frames of an animation,
// rows are groups (alternative animations, colours or states). A loaded sprite
// owns its texture; instances made from it share that texture and keep their
// own frame, group, timing and drawing flags. Instances must be dropped before
// the sprite they were made from.
//
// Drawing puts the cell on a quad of frame width x frame height centred on the
// current model-view origin: owners translate (rotate, scale) first.
class Sprite {
public:
    Sprite() = default;
    virtual ~Sprite() = default;
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    // A grid sprite loaded from a .spr description in the pack (pack, then
    // disk). A missing description or image ends the program.
    static std::unique_ptr<Sprite> load(FilePack& pack, const std::string& fileName);
    // A frame-sequence sprite loaded from an XML list of frame images.
    static std::unique_ptr<Sprite> loadFrameSequence(FilePack& pack, const std::string& fileName);

    // A new sprite of the same kind sharing this one's texture (share-from).
    virtual std::unique_ptr<Sprite> newInstance() const = 0;

    // Takes over every field but the name (left empty) and the texture.
    virtual void copyFrom(const Sprite& other);
    // Parses a description and loads its texture(s); the sprite owns them.
    virtual bool load(FilePack& pack, const char* bytes, std::size_t size) = 0;
    // Deletes owned textures; the texture pointer becomes null.
    virtual void unload() = 0;
    // Draws the current cell; with blend set, with source-alpha blending.
    virtual void draw() = 0;
    // Like draw, but blends additively (destination factor one).
    virtual void drawAdditive() = 0;

    // One cell of this sprite, centred on (x, y, z), tinted, width x height.
    struct AdditiveQuad {
        float x, y, z;
        float width, height;
        int group, frame;
        float red, green, blue, alpha;
    };
    // drawAdditive for every quad in turn, each translated to its place; the
    // group, frame and frame size are left at the last quad's.
    virtual void drawAdditiveQuads(const std::vector<AdditiveQuad>& quads);
    // Advances the animation clock by dt milliseconds; animations loop.
    virtual void update(float dt);
    // Groups not below the count fall back to group 0.
    virtual void setGroup(int group);
    // copyFrom plus sharing the other's texture without owning it.
    virtual void shareFrom(const Sprite& other);

    // Values below 0.001 count as 0.001.
    void setFps(float fps);
    // Frames not below the count reset the animation to frame 0, time 0.
    void setFrame(int frame);
    void setBlend(bool blend) { m_blend = blend; }
    void setFrameSize(float width, float height);
    void setFlipped(bool flipped) { m_flipped = flipped; }
    void setReverse(bool reverse) { m_reverse = reverse; }
    void setPosition(float x, float y, float z = 0.0f, float w = 0.0f);
    void setVector(const SpriteVector& vector) { m_vector = vector; }
    void setName(std::string name) { m_name = std::move(name); }

    const SpriteVector& position() const { return m_position; }
    const SpriteVector& vector() const { return m_vector; }
    const std::string& name() const { return m_name; }
    FilePack* pack() const { return m_pack; }
    int groups() const { return m_groups; }
    int frames() const { return m_frames; }
    float frameWidth() const { return m_frameWidth; }
    float frameHeight() const { return m_frameHeight; }
    int frame() const { return m_frame; }
    int group() const { return m_group; }
    bool ownsTexture() const { return m_ownsTexture; }
    bool blend() const { return m_blend; }
    bool flipped() const { return m_flipped; }
    bool reverse() const { return m_reverse; }
    float time() const { return m_time; }
    float frameDuration() const { return m_frameDuration; }
    Texture* texture() const { return m_texture; }

protected:
    enum class BlendMode { Normal, Additive };
    struct CellCoords {
        float uLeft, uRight, vLow, vHigh;
    };
    // The centred strip with the given texture coordinates.
    void drawStrip(Texture& texture, const CellCoords& coords, BlendMode mode) const;
    // The texture and blending state a strip is drawn with, and its undoing.
    void beginStrips(Texture& texture, BlendMode mode) const;
    void endStrips() const;

    SpriteVector m_position{};
    SpriteVector m_vector{};
    std::string m_name;
    FilePack* m_pack = nullptr;
    int m_groups = 1;
    int m_frames = 1;
    float m_frameWidth = 0.0f;
    float m_frameHeight = 0.0f;
    int m_frame = 0;
    int m_group = 0;
    bool m_ownsTexture = false;
    bool m_blend = false;
    bool m_flipped = false;
    bool m_reverse = false;
    float m_time = 0.0f;
    float m_frameDuration = 1000.0f / 3.0f;
    Texture* m_texture = nullptr;
};
