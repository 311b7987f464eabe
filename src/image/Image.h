// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Pixel layouts an image can carry; the values are the format codes textures
// are uploaded with (glFormatOf maps them to OpenGL).
enum class PixelFormat : int {
    Dxt1 = 0,
    Dxt3 = 2,
    Dxt5 = 4,
    Rgba = 5,
    Rgb = 6,
    Bgra = 7,
    Bgr = 8,
    Luminance = 9,
};

// Which decoder a file name selects, by its last letters in any case.
enum class ImageKind { Tga, Png, Jpeg, Dds, Unknown };

// One stored mip level of a DDS file (the level below the base and down).
struct MipLevel {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> data;
    std::size_t dataSize() const { return data.size(); }
};

// A decoded picture: rows bottom-up (row 0 is the bottom of the picture),
// packed without gaps. Decoders never read past the buffer they are given; a
// broken or unsupported file leaves the image invalid.
class Image {
public:
    // Larger pictures are refused so a lying header cannot demand gigabytes.
    static constexpr int kMaxDimension = 16384;
    static constexpr std::size_t kMaxPixels = std::size_t{1} << 24;
    static bool sizeAllowed(std::size_t width, std::size_t height);

    Image() = default;
    virtual ~Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    static ImageKind kindForName(const std::string& name);
    // The component count's format: 1 luminance, 3 RGB, 4 RGBA; any other count
    // is fatal ("Unknow format").
    static PixelFormat formatForComponents(int components, const std::string& fileName);

    // Decodes bytes of the named file (decoder chosen by the name); with size 0
    // the named file is read from the disk first. Always returns true: check
    // isValid() for the outcome.
    bool load(const std::string& name, const std::uint8_t* bytes, std::size_t size);

    bool isValid() const { return m_valid; }
    // These three end the program ("m_valid") when nothing was decoded.
    int width() const;
    int height() const;
    const std::uint8_t* pixels() const;
    std::size_t dataSize() const { return m_pixels.size(); }
    int components() const { return m_components; }
    bool isCompressed() const { return m_compressed; }
    PixelFormat format() const { return m_format; }
    const std::string& fileName() const { return m_fileName; }

    // Multiplies each colour by its alpha, stored levels included. Only
    // uncompressed pictures with an alpha channel can; false for the others.
    bool premultiplyAlpha();

    int mipmapCount() const { return static_cast<int>(m_mipmaps.size()); }
    // Ends the program ("index < (int)m_mipmaps.size()") for a level not stored.
    const MipLevel& mipmap(int index) const;

    // The decoders' side: describe the picture, get its zero-filled base
    // level buffer, add stored levels, then mark the image valid.
    void setPicture(int width, int height, int components, PixelFormat format, bool compressed);
    virtual std::uint8_t* allocatePixels(std::size_t size);
    void addMipmap(MipLevel level) { m_mipmaps.push_back(std::move(level)); }
    void markValid() { m_valid = true; }
    // Back to the undecoded state, e.g. when a decoder gives up half-way.
    void reset();

private:
    void requireValid() const;
    void decode(const std::uint8_t* bytes, std::size_t size);

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_pixels;
    int m_components = 0;
    bool m_compressed = false;
    bool m_valid = false;
    PixelFormat m_format = PixelFormat::Rgb;
    std::vector<MipLevel> m_mipmaps;
    std::string m_fileName;
};

// The OpenGL pixel format of a format code (unknown codes give RGB).
unsigned glFormatOf(PixelFormat format);
