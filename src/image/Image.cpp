// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/Image.h"

#include "image/DdsDecoder.h"
#include "image/JpegDecoder.h"
#include "image/PngDecoder.h"
#include "image/TgaDecoder.h"
#include "utils/FatalError.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cctype>
#include <cstdio>

namespace {

constexpr const char* kModule = "image/Image";

char lowerAt(const std::string& name, std::size_t fromEnd)
{
    if (name.size() < fromEnd)
        return '\0';
    return static_cast<char>(std::tolower(static_cast<unsigned char>(name[name.size() - fromEnd])));
}

std::vector<std::uint8_t> readDiskFile(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return bytes;
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    return bytes;
}

void premultiplyPixels(std::uint8_t* pixels, std::size_t size)
{
    for (std::size_t i = 0; i + 3 < size; i += 4) {
        const unsigned alpha = pixels[i + 3];
        for (std::size_t c = i; c < i + 3; ++c)
            pixels[c] = static_cast<std::uint8_t>((pixels[c] * alpha + 127) / 255);
    }
}

} // namespace

ImageKind Image::kindForName(const std::string& name)
{
    if (lowerAt(name, 1) == 'a')
        return ImageKind::Tga;
    if (lowerAt(name, 2) == 'n')
        return ImageKind::Png;
    if (lowerAt(name, 1) == 'g')
        return ImageKind::Jpeg;
    if (lowerAt(name, 1) == 's')
        return ImageKind::Dds;
    return ImageKind::Unknown;
}

bool Image::sizeAllowed(std::size_t width, std::size_t height)
{
    return width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension &&
           width * height <= kMaxPixels;
}

PixelFormat Image::formatForComponents(int components, const std::string& fileName)
{
    switch (components) {
    case 1:
        return PixelFormat::Luminance;
    case 3:
        return PixelFormat::Rgb;
    case 4:
        return PixelFormat::Rgba;
    default:
        FatalError::raise("Unknow format", kModule, fileName);
    }
}

bool Image::load(const std::string& name, const std::uint8_t* bytes, std::size_t size)
{
    reset();
    m_fileName = name;
    if (size == 0 || bytes == nullptr) {
        const std::vector<std::uint8_t> file = readDiskFile(name);
        decode(file.data(), file.size());
    } else {
        decode(bytes, size);
    }
    return true;
}

void Image::decode(const std::uint8_t* bytes, std::size_t size)
{
    if (size == 0)
        return;
    switch (kindForName(m_fileName)) {
    case ImageKind::Tga:
        TgaDecoder::decode(bytes, size, *this);
        break;
    case ImageKind::Png:
        PngDecoder::decode(bytes, size, *this);
        break;
    case ImageKind::Jpeg:
        JpegDecoder::decode(bytes, size, *this);
        break;
    case ImageKind::Dds:
        DdsDecoder::decode(bytes, size, *this);
        break;
    case ImageKind::Unknown:
        break;
    }
    if (!m_valid)
        reset();
}

void Image::requireValid() const
{
    if (!m_valid)
        FatalError::raise("m_valid", kModule, m_fileName);
}

int Image::width() const
{
    requireValid();
    return m_width;
}

int Image::height() const
{
    requireValid();
    return m_height;
}

const std::uint8_t* Image::pixels() const
{
    requireValid();
    return m_pixels.data();
}

const MipLevel& Image::mipmap(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_mipmaps.size()))
        FatalError::raise("index < (int)m_mipmaps.size()", kModule, m_fileName);
    return m_mipmaps[static_cast<std::size_t>(index)];
}

bool Image::premultiplyAlpha()
{
    requireValid();
    const bool withAlpha = m_format == PixelFormat::Rgba || m_format == PixelFormat::Bgra;
    if (m_compressed || m_components != 4 || !withAlpha)
        return false;
    premultiplyPixels(m_pixels.data(), m_pixels.size());
    for (MipLevel& level : m_mipmaps)
        premultiplyPixels(level.data.data(), level.data.size());
    return true;
}

void Image::setPicture(int width, int height, int components, PixelFormat format, bool compressed)
{
    m_width = width;
    m_height = height;
    m_components = components;
    m_format = format;
    m_compressed = compressed;
}

std::uint8_t* Image::allocatePixels(std::size_t size)
{
    m_pixels.assign(size, 0);
    return m_pixels.data();
}

void Image::reset()
{
    m_width = 0;
    m_height = 0;
    m_pixels.clear();
    m_pixels.shrink_to_fit();
    m_components = 0;
    m_compressed = false;
    m_valid = false;
    m_format = PixelFormat::Rgb;
    m_mipmaps.clear();
}

unsigned glFormatOf(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Dxt1:
        return GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
    case PixelFormat::Dxt3:
        return GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
    case PixelFormat::Dxt5:
        return GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
    case PixelFormat::Rgba:
        return GL_RGBA;
    case PixelFormat::Rgb:
        return GL_RGB;
    case PixelFormat::Bgra:
        return GL_BGRA;
    case PixelFormat::Bgr:
        return GL_BGR;
    case PixelFormat::Luminance:
        return GL_LUMINANCE;
    }
    return GL_RGB;
}
